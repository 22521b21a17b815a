#include "app/UserGuide.h"

#include <filesystem>

#include "platform/files/PlainFile.h"

std::vector<std::string> UserGuideCandidates(const std::string& programFolder) {
    const std::filesystem::path prefix = std::filesystem::path(programFolder).parent_path();
    return {(prefix / "share/doc/quillix/README.md").string(), QUILLIX_SOURCE_README};
}

std::string FindUserGuide(const std::vector<std::string>& candidates) {
    for (const std::string& candidate : candidates) {
        if (PlainFileExists(candidate)) return candidate;
    }
    return "";
}
