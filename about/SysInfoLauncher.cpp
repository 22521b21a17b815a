#include "about/SysInfoLauncher.h"

#include <cstdint>
#include <exception>

namespace {

const char* const kSysInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char* const kSysInfoValue = "PATH";
const char* const kSysInfoLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const char* const kSysInfoLocationValue = "MSINFO";
const char* const kSysInfoProgram = "\\MSINFO32.EXE";

constexpr std::uint32_t kValueBufferSize = 1024;
constexpr int kNormalWindowWithFocus = 1;

// Closes the opened key however GetKeyValue ends, a raised failure included. The handle stays
// 0 when the open fails, and closing 0 is harmless.
class KeyCloser {
public:
    KeyCloser(Registry& registry, const RegKey& key) : registry_(registry), key_(key) {}
    ~KeyCloser() { registry_.RegCloseKey(key_); }
    KeyCloser(const KeyCloser&) = delete;
    KeyCloser& operator=(const KeyCloser&) = delete;

private:
    Registry& registry_;
    const RegKey& key_;
};

}  // namespace

void SysInfoLauncher::StartSysInfo() {
    bool started = false;
    try {
        started = FindAndStart();
    } catch (const std::exception&) {
        started = false;
    }
    if (!started) messages_.Show(QString::fromUtf8(kSysInfoUnavailable));
}

bool SysInfoLauncher::FindAndStart() {
    std::string SysInfoPath;
    // The full path needs no existence check: a missing program simply fails to start.
    if (!GetKeyValue(kHKeyLocalMachine, kSysInfoKey, kSysInfoValue, SysInfoPath)) {
        if (!GetKeyValue(kHKeyLocalMachine, kSysInfoLocationKey, kSysInfoLocationValue,
                         SysInfoPath)) {
            return false;
        }
        if (files_.Dir(SysInfoPath + kSysInfoProgram, kAttrNormal).empty()) return false;
        SysInfoPath += kSysInfoProgram;
    }
    return programs_.Shell(SysInfoPath, kNormalWindowWithFocus);
}

bool SysInfoLauncher::GetKeyValue(RegKey KeyRoot, const std::string& KeyName,
                                  const std::string& SubKeyRef, std::string& KeyVal) {
    RegKey hKey = 0;
    KeyCloser closer(registry_, hKey);

    if (registry_.RegOpenKeyEx(KeyRoot, KeyName, 0, kKeyLauncherAccess, hKey) != kErrorSuccess) {
        KeyVal.clear();
        return false;
    }

    std::string buffer(kValueBufferSize, '\0');
    std::uint32_t size = kValueBufferSize;
    std::uint32_t type = 0;
    const long status = registry_.RegQueryValueEx(hKey, SubKeyRef, 0, type, buffer.data(), size);
    if (status != kErrorSuccess || size > kValueBufferSize) {
        KeyVal.clear();
        return false;
    }
    if (size == 0) throw RegistryValueError("the registry value " + SubKeyRef + " is empty");

    // The stored text may or may not end in its NUL.
    const std::string text = buffer.substr(0, buffer[size - 1] == '\0' ? size - 1 : size);
    if (type == kRegSz) {
        KeyVal = text;
    } else if (type == kRegDword) {
        std::uint32_t number = 0;
        for (std::uint32_t i = 0; i < size && i < 4; ++i) {
            number |= std::uint32_t(static_cast<unsigned char>(buffer[i])) << (8 * i);
        }
        KeyVal = std::to_string(number);
    }
    return true;
}
