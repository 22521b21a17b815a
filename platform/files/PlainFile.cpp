#include "platform/files/PlainFile.h"

#include <filesystem>
#include <system_error>

bool PlainFileExists(const std::string& path) {
    const std::filesystem::path file(path);
    const std::string name = file.filename().string();
    if (name.empty() || name[0] == '.') return false;
    std::error_code error;
    return std::filesystem::is_regular_file(file, error) && !error;
}
