#include <algorithm>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzEntries.h"
#include "platform/registry/RegistryOverlay.h"

namespace {

void Check(bool promise) {
    if (!promise) std::abort();
}

}  // namespace

void RunRegistryOverlayInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxOverlayBytes) return;  // such a file is ignored before it is parsed
    const std::string text(reinterpret_cast<const char*>(data), size);
    ParsedOverlay parsed = ParseRegistryOverlay(text);

    const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    for (const OverlayProblem& problem : parsed.problems) {
        Check(problem.line >= 1 && problem.line <= lines && !problem.reason.empty());
    }
    // Every key the file names opens, answers a value query within its buffer, and closes.
    for (const std::string& path : parsed.keyPaths) {
        RegKey key = 0;
        Check(parsed.keys.RegOpenKeyEx(kHKeyLocalMachine, path, 0, kKeyLauncherAccess, key) ==
              kErrorSuccess);
        std::string buffer(16, '\0');
        std::uint32_t type = 0;
        std::uint32_t bytes = static_cast<std::uint32_t>(buffer.size());
        const long status = parsed.keys.RegQueryValueEx(key, "PATH", 0, type, buffer.data(), bytes);
        Check(status == kErrorSuccess ? bytes <= buffer.size()
                                      : status == kErrorMoreData || status == kErrorFileNotFound);
        Check(parsed.keys.RegCloseKey(key) == kErrorSuccess);
    }
    Check(parsed.keys.OpenHandles() == 0);
}
