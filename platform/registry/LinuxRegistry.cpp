#include "platform/registry/LinuxRegistry.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "platform/registry/RegistryOverlay.h"

namespace {

const char* const kSysInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

std::vector<std::string> SplitPath(const std::string& searchPath) {
    std::vector<std::string> folders;
    std::istringstream parts(searchPath);
    std::string folder;
    while (std::getline(parts, folder, ':')) {
        if (!folder.empty() && folder[0] == '/') folders.push_back(folder);
    }
    return folders;
}

bool IsExecutableFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string FindSystemInformationProgram(const std::string& searchPath) {
    const std::vector<std::string> folders = SplitPath(searchPath);
    for (const char* program : kSystemInformationPrograms) {
        for (const std::string& folder : folders) {
            const std::filesystem::path candidate = std::filesystem::path(folder) / program;
            if (IsExecutableFile(candidate)) return candidate.string();
        }
    }
    return "";
}

LinuxRegistry::LinuxRegistry(std::optional<std::string> overlayPath, std::string searchPath)
    : overlayPath_(std::move(overlayPath)), searchPath_(std::move(searchPath)) {}

LinuxRegistry LinuxRegistry::FromEnvironment() {
    std::optional<std::string> overlay;
    if (const char* file = std::getenv("QUILLIX_REGISTRY"); file != nullptr && *file != '\0') {
        overlay = file;
    }
    const char* path = std::getenv("PATH");
    return LinuxRegistry(overlay, path != nullptr ? path : "");
}

void LinuxRegistry::Load() {
    if (loaded_) return;
    loaded_ = true;

    if (overlayPath_) {
        const std::string& file = *overlayPath_;
        std::error_code error;
        const auto bytes = std::filesystem::file_size(file, error);
        std::ifstream in(file, std::ios::binary);
        if (error || !in) {
            warnings_.push_back(file + ": cannot read the registry overlay file");
        } else if (bytes > kMaxOverlayBytes) {
            warnings_.push_back(file + ": the registry overlay file is larger than 1 MiB; ignored");
        } else {
            const std::string text{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
            ParsedOverlay overlay = ParseRegistryOverlay(text);
            keys_ = std::move(overlay.keys);
            for (const OverlayProblem& problem : overlay.problems) {
                warnings_.push_back(file + ": line " + std::to_string(problem.line) + ": " +
                                    problem.reason + "; line ignored");
            }
        }
        for (const std::string& warning : warnings_) std::cerr << warning << '\n';
    }

    if (!keys_.HasKey(kSysInfoKey)) {
        const std::string program = FindSystemInformationProgram(searchPath_);
        if (!program.empty()) keys_.SetValue(kSysInfoKey, "PATH", TextValue(program));
    }
}

const std::vector<std::string>& LinuxRegistry::Warnings() {
    Load();
    return warnings_;
}

long LinuxRegistry::RegOpenKeyEx(RegKey root, const std::string& subKey, std::uint32_t options,
                                 std::uint32_t accessMask, RegKey& result) {
    Load();
    return keys_.RegOpenKeyEx(root, subKey, options, accessMask, result);
}

long LinuxRegistry::RegQueryValueEx(RegKey key, const std::string& valueName,
                                    std::uint32_t reserved, std::uint32_t& type, char* data,
                                    std::uint32_t& size) {
    return keys_.RegQueryValueEx(key, valueName, reserved, type, data, size);
}

long LinuxRegistry::RegCloseKey(RegKey key) {
    return keys_.RegCloseKey(key);
}
