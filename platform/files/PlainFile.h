#pragma once

#include <string>

// Whether path names an existing plain, visible file (following symbolic links): what a
// directory look-up with normal attributes finds. A folder, a device, a hidden file (its name
// starts with '.'), a name that cannot be examined and the empty name all count as missing.
bool PlainFileExists(const std::string& path);
