#include "platform/files/FileLookup.h"

#include <filesystem>
#include <system_error>

#include "platform/files/DrivePath.h"
#include "platform/files/PlainFile.h"

std::string LocalFileLookup::Dir(const std::string& pathName, int attributes) {
    if (pathName.empty()) return "";
    const std::filesystem::path path(WindowsPathToLocal(pathName));
    const std::string name = path.filename().string();
    if (name.empty()) return "";
    if (PlainFileExists(path.string())) return name;
    // Hidden files and folders only where the attributes ask for them.
    if (name[0] == '.' && (attributes & kAttrHidden) == 0) return "";

    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error) return "";
    if (std::filesystem::is_regular_file(status)) return name;
    if (std::filesystem::is_directory(status) && (attributes & kAttrDirectory) != 0) return name;
    return "";
}
