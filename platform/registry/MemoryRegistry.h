#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/registry/Registry.h"

// One stored registry value: its type and its raw bytes.
struct RegValue {
    std::uint32_t type = kRegSz;
    std::string data;
};

// A text value as Windows tools store it: the text and a terminating NUL.
RegValue TextValue(const std::string& text);
// A 32-bit number, least significant byte first.
RegValue DwordValue(std::uint32_t number);

// Registry keys under HKEY_LOCAL_MACHINE held in memory, answered with Windows semantics: key and
// value names compare without regard to ASCII case, handles are counted out on open and are
// invalid once closed, a read-only key refuses an open that asks for write access.
class MemoryRegistry : public Registry {
public:
    void AddKey(const std::string& keyPath, bool writable = true);
    // Adds the key too when it is missing.
    void SetValue(const std::string& keyPath, const std::string& name, RegValue value);
    bool HasKey(const std::string& keyPath) const;
    // Removes the key with its values; nothing when it is missing.
    void RemoveKey(const std::string& keyPath);
    std::size_t OpenHandles() const { return open_.size(); }

    long RegOpenKeyEx(RegKey root, const std::string& subKey, std::uint32_t options,
                      std::uint32_t accessMask, RegKey& result) override;
    long RegQueryValueEx(RegKey key, const std::string& valueName, std::uint32_t reserved,
                         std::uint32_t& type, char* data, std::uint32_t& size) override;
    long RegCloseKey(RegKey key) override;

private:
    struct Key {
        bool writable = true;
        std::map<std::string, RegValue> values;  // by lower-case name
    };

    std::map<std::string, Key> keys_;     // by lower-case path
    std::map<RegKey, std::string> open_;  // handle -> lower-case path
    RegKey nextHandle_ = 0x100;
};
