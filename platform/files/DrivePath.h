#pragma once

#include <string>

// Places Windows-style paths on this file system. "c:\" (any case, either slash) is the folder
// named by the environment variable QUILLIX_DRIVE_C, or the user's home folder when it is unset
// or empty; a path that starts with a single backslash is on that drive too. The rest of such a
// path has its backslashes turned into slashes. Any other path is returned unchanged, so plain
// local paths (which may legitimately contain backslashes) pass through untouched.
std::string ToLocalPath(const std::string& path);

// A path that comes from the Windows side (the registry, which knows no other separator): placed
// as ToLocalPath places it, and every backslash still in it is a folder separator, so that a
// folder "/opt/tools" with "\MSINFO32.EXE" appended is "/opt/tools/MSINFO32.EXE".
std::string WindowsPathToLocal(const std::string& path);

// The folder that stands for drive C:, without a trailing slash.
std::string DriveCFolder();
