#pragma once

// Sends whatever is written to standard error to /dev/null while it lives. Some image libraries
// print their own complaints there (libpng's "libpng error: Read Error" for a cut-off file);
// the converter reports every failure itself, in its own one-line form.
//
// Under a sanitizer standard error is left alone, so that a report from inside a decoder shows.
class QuietStderr {
public:
    QuietStderr();
    ~QuietStderr();
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved_ = -1;
};

// The program was built with a sanitizer or runs with a sanitizer's options set.
bool UnderSanitizer();
