#include "platform/PlainFile.h"

#include <filesystem>
#include <system_error>

bool PlainFileExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(path), error) && !error;
}
