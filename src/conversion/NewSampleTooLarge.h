#pragma once

#include <exception>

/** The converted sample would be longer than one buffer can hold. */
class NewSampleTooLarge : public std::exception
{
public:
    const char* what() const noexcept override { return "Converted sample size too large"; }
};
