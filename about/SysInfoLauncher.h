#pragma once

#include <stdexcept>
#include <string>

#include "platform/desktop/MessageBox.h"
#include "platform/desktop/ProgramStarter.h"
#include "platform/files/FileLookup.h"
#include "platform/registry/Registry.h"

// Raised by GetKeyValue for a value it cannot turn into text: one whose length is 0.
class RegistryValueError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kSysInfoUnavailable = "System Information Is Unavailable At This Time";

// Finds the system information tool through the registry and starts it, or tells the user that it
// cannot. The About dialog's StartSysInfo and GetKeyValue.
class SysInfoLauncher {
public:
    SysInfoLauncher(Registry& registry, FileLookup& files, ProgramStarter& programs,
                    MessageBox& messages)
        : registry_(registry), files_(files), programs_(programs), messages_(messages) {}

    // The tool's full path from the "MSINFO" key, else its folder from the "Shared Tools
    // Location" key when "MSINFO32.EXE" is a plain file there; then starts it detached. Any
    // failure on the way shows kSysInfoUnavailable, and nothing else.
    void StartSysInfo();

    // Reads one value as text into KeyVal: text values (trailing NUL dropped), 32-bit numbers in
    // decimal; a value of another type leaves KeyVal as it was. False, with KeyVal empty, when the
    // key or the value is missing, unreadable or longer than 1024 bytes. Raises
    // RegistryValueError for a value of length 0. The key is closed on every way out.
    bool GetKeyValue(RegKey KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                     std::string& KeyVal);

private:
    bool FindAndStart();

    Registry& registry_;
    FileLookup& files_;
    ProgramStarter& programs_;
    MessageBox& messages_;
};
