#pragma once

#include <exception>

/** The output file cannot be written. */
class FileWriteException : public std::exception
{
public:
    const char* what() const noexcept override { return "Error writing file"; }
};
