#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

// Sends whatever is written to standard error to /dev/null while it lives. Some image libraries
// print their own complaints there (libpng's "libpng error: Read Error" for a cut-off file);
// the converter reports every failure itself, in its own one-line form.
class QuietStderr {
public:
    QuietStderr() {
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
        if (null >= 0) close(null);
    }
    ~QuietStderr() {
        std::fflush(stderr);
        if (saved_ >= 0) {
            dup2(saved_, STDERR_FILENO);
            close(saved_);
        }
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved_ = -1;
};
