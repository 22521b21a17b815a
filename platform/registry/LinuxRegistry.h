#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/registry/MemoryRegistry.h"

// The registry on Linux: read-only look-ups under HKEY_LOCAL_MACHINE answered from
//  1. the overlay file (see RegistryOverlay.h) whose path is in QUILLIX_REGISTRY, when set;
//  2. built-in discovery: "SOFTWARE\Microsoft\Shared Tools\MSINFO", value "PATH", is the full
//     path of the first system information program found on the search path.
// A key that the overlay names replaces the discovered key of the same name as a whole, so an
// empty key in the overlay hides what discovery would find. Nothing here writes, so the access
// asked for on open is granted. Both sources are read on the first open, once per object.
class LinuxRegistry : public Registry {
public:
    // overlayPath: the overlay file, if any; searchPath: directories separated by ':'.
    LinuxRegistry(std::optional<std::string> overlayPath, std::string searchPath);
    // From QUILLIX_REGISTRY and PATH.
    static LinuxRegistry FromEnvironment();

    long RegOpenKeyEx(RegKey root, const std::string& subKey, std::uint32_t options,
                      std::uint32_t accessMask, RegKey& result) override;
    long RegQueryValueEx(RegKey key, const std::string& valueName, std::uint32_t reserved,
                         std::uint32_t& type, char* data, std::uint32_t& size) override;
    long RegCloseKey(RegKey key) override;

    // What went wrong with the overlay file ("path: line 3: reason"); also written to stderr.
    const std::vector<std::string>& Warnings();

private:
    void Load();

    std::optional<std::string> overlayPath_;
    std::string searchPath_;
    bool loaded_ = false;
    MemoryRegistry keys_;
    std::vector<std::string> warnings_;
};

// System information programs a Linux desktop commonly has, most thorough first.
inline constexpr const char* kSystemInformationPrograms[] = {"hardinfo2", "hardinfo", "kinfocenter",
                                                             "gnome-system-monitor", "lshw-gtk"};

// The full path of the first of kSystemInformationPrograms that is an executable file in one of
// the searchPath directories; "" when there is none. Relative directories are not searched.
std::string FindSystemInformationProgram(const std::string& searchPath);
