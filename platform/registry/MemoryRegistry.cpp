#include "platform/registry/MemoryRegistry.h"

#include <algorithm>
#include <cstring>

namespace {

std::string Folded(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : char(c);
    });
    return text;
}

}  // namespace

RegValue TextValue(const std::string& text) {
    return {kRegSz, text + '\0'};
}

RegValue DwordValue(std::uint32_t number) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = char((number >> (8 * i)) & 0xFF);
    return {kRegDword, bytes};
}

void MemoryRegistry::AddKey(const std::string& keyPath, bool writable) {
    keys_[Folded(keyPath)].writable = writable;
}

void MemoryRegistry::SetValue(const std::string& keyPath, const std::string& name, RegValue value) {
    keys_[Folded(keyPath)].values[Folded(name)] = std::move(value);
}

bool MemoryRegistry::HasKey(const std::string& keyPath) const {
    return keys_.count(Folded(keyPath)) != 0;
}

void MemoryRegistry::RemoveKey(const std::string& keyPath) {
    keys_.erase(Folded(keyPath));
}

long MemoryRegistry::RegOpenKeyEx(RegKey root, const std::string& subKey, std::uint32_t /*options*/,
                                  std::uint32_t accessMask, RegKey& result) {
    if (root != kHKeyLocalMachine) return kErrorInvalidHandle;
    const auto key = keys_.find(Folded(subKey));
    if (key == keys_.end()) return kErrorFileNotFound;
    if (!key->second.writable && (accessMask & kKeyAllWriteBits) != 0) return kErrorAccessDenied;
    result = nextHandle_;
    nextHandle_ += 4;
    open_[result] = key->first;
    return kErrorSuccess;
}

long MemoryRegistry::RegQueryValueEx(RegKey key, const std::string& valueName,
                                     std::uint32_t /*reserved*/, std::uint32_t& type, char* data,
                                     std::uint32_t& size) {
    const auto handle = open_.find(key);
    if (handle == open_.end()) return kErrorInvalidHandle;
    const auto stored = keys_.find(handle->second);
    if (stored == keys_.end()) return kErrorFileNotFound;  // removed while open
    const auto value = stored->second.values.find(Folded(valueName));
    if (value == stored->second.values.end()) return kErrorFileNotFound;

    const std::string& bytes = value->second.data;
    type = value->second.type;
    if (data != nullptr && bytes.size() > size) {
        size = static_cast<std::uint32_t>(bytes.size());
        return kErrorMoreData;
    }
    if (data != nullptr) std::memcpy(data, bytes.data(), bytes.size());
    size = static_cast<std::uint32_t>(bytes.size());
    return kErrorSuccess;
}

long MemoryRegistry::RegCloseKey(RegKey key) {
    return open_.erase(key) == 1 ? kErrorSuccess : kErrorInvalidHandle;
}
