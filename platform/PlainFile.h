#pragma once

#include <string>

// Whether path names an existing plain file (following symbolic links). A folder, a device, a
// name that cannot be examined and the empty name all count as missing.
bool PlainFileExists(const std::string& path);
