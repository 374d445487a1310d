#pragma once

#include <exception>

/** No input format can read the input file. */
class InputFileInvalid : public std::exception
{
public:
    const char* what() const noexcept override { return "Invalid input file"; }
};
