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

// Access rights: read control (0x20000), query value, set value, create sub-key, enumerate
// sub-keys, notify and create link.
inline constexpr std::uint32_t kKeyQueryValue = 0x1;
inline constexpr std::uint32_t kKeyAllWriteBits = 0x2 | 0x4 | 0x20;
inline constexpr std::uint32_t kKeyLauncherAccess = 0x2003F;

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
