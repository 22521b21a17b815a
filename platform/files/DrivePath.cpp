#include "platform/files/DrivePath.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

bool IsSlash(char c) {
    return c == '\\' || c == '/';
}

std::string WithoutTrailingSlashes(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

}  // namespace

std::string DriveCFolder() {
    if (const char* drive = std::getenv("QUILLIX_DRIVE_C"); drive != nullptr && *drive != '\0') {
        return WithoutTrailingSlashes(drive);
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return WithoutTrailingSlashes(home);
    }
    if (const passwd* user = getpwuid(getuid()); user != nullptr && user->pw_dir != nullptr) {
        return WithoutTrailingSlashes(user->pw_dir);
    }
    return "/";
}

std::string ToLocalPath(const std::string& path) {
    std::string rest;
    const bool onDriveC = path.size() >= 3 &&
                          std::tolower(static_cast<unsigned char>(path[0])) == 'c' &&
                          path[1] == ':' && IsSlash(path[2]);
    if (onDriveC) {
        rest = path.substr(3);
    } else if (!path.empty() && path[0] == '\\' && (path.size() == 1 || path[1] != '\\')) {
        rest = path.substr(1);
    } else {
        return path;
    }
    std::replace(rest.begin(), rest.end(), '\\', '/');
    std::string folder = DriveCFolder();
    if (folder == "/") return "/" + rest;
    return folder + "/" + rest;
}

std::string WindowsPathToLocal(const std::string& path) {
    std::string local = ToLocalPath(path);
    std::replace(local.begin(), local.end(), '\\', '/');
    return local;
}
