#pragma once

#include <stdexcept>
#include <string>

#include "platform/files/ControlEscapes.h"

// A file that could not be read or written: what() is "path: reason", one line, with any control
// characters in either escaped (see WithControlsEscaped); Path() and Reason() are as given.
class FileError : public std::runtime_error {
public:
    FileError(std::string path, std::string reason)
        : std::runtime_error(WithControlsEscaped(path) + ": " + WithControlsEscaped(reason)),
          path_(std::move(path)),
          reason_(std::move(reason)) {}
    const std::string& Path() const { return path_; }
    const std::string& Reason() const { return reason_; }

private:
    std::string path_;
    std::string reason_;
};
