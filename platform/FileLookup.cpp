#include "platform/FileLookup.h"

#include <filesystem>
#include <system_error>

#include "platform/DrivePath.h"

std::string LocalFileLookup::Dir(const std::string& pathName, int attributes) {
    if (pathName.empty()) return "";
    const std::filesystem::path path(ToLocalPath(pathName));
    const std::string name = path.filename().string();
    if (name.empty()) return "";
    if (name[0] == '.' && (attributes & kAttrHidden) == 0) return "";

    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error) return "";
    if (std::filesystem::is_regular_file(status)) return name;
    if (std::filesystem::is_directory(status) && (attributes & kAttrDirectory) != 0) return name;
    return "";
}
