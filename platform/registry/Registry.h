#pragma once

#include <cstdint>
#include <string>

// A read of the system registry with the Windows calling conventions the System Info launcher
// relies on: keys opened with an access mask, status codes instead of exceptions, values copied
// into the caller's buffer with their type and length. Strings are UTF-8 bytes.
using RegKey = std::uint32_t;

// Handle values and codes as Windows defines them.
inline constexpr RegKey kHKeyLocalMachine = 0x80000002;

inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorMoreData = 234;

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;

// The access the launcher asks for: read control (0x20000), query value (0x1), set value (0x2),
// create sub-key (0x4), enumerate sub-keys (0x8), notify (0x10) and create link (0x20); the
// write rights among them make a read-only key refuse the open.
inline constexpr std::uint32_t kKeyLauncherAccess = 0x2003F;
inline constexpr std::uint32_t kKeyAllWriteBits = 0x2 | 0x4 | 0x20;

class Registry {
public:
    virtual ~Registry() = default;

    // Opens subKey under root; on success result is the key's handle, otherwise it is left as
    // it was.
    virtual long RegOpenKeyEx(RegKey root, const std::string& subKey, std::uint32_t options,
                              std::uint32_t accessMask, RegKey& result) = 0;

    // Copies the value named valueName into data, which holds size bytes. On success type is
    // the value's type and size its length in bytes (a stored terminating NUL included). When the
    // value is longer than the buffer the result is kErrorMoreData and size the length needed.
    virtual long RegQueryValueEx(RegKey key, const std::string& valueName, std::uint32_t reserved,
                                 std::uint32_t& type, char* data, std::uint32_t& size) = 0;

    virtual long RegCloseKey(RegKey key) = 0;
};
