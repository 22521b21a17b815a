#pragma once

#include <QString>
#include <QStringList>
#include <set>
#include <string>
#include <vector>

#include "platform/desktop/Mail.h"
#include "platform/desktop/MessageBox.h"
#include "platform/desktop/ProgramStarter.h"
#include "platform/files/FileLookup.h"
#include "platform/registry/MemoryRegistry.h"

// A registry in memory that also records what was asked of it.
class RecordingRegistry : public Registry {
public:
    MemoryRegistry keys;
    std::vector<std::uint32_t> openMasks;
    std::vector<RegKey> closed;

    long RegOpenKeyEx(RegKey root, const std::string& subKey, std::uint32_t options,
                      std::uint32_t accessMask, RegKey& result) override {
        openMasks.push_back(accessMask);
        return keys.RegOpenKeyEx(root, subKey, options, accessMask, result);
    }
    long RegQueryValueEx(RegKey key, const std::string& valueName, std::uint32_t reserved,
                         std::uint32_t& type, char* data, std::uint32_t& size) override {
        return keys.RegQueryValueEx(key, valueName, reserved, type, data, size);
    }
    long RegCloseKey(RegKey key) override {
        closed.push_back(key);
        return keys.RegCloseKey(key);
    }
};

// Plain files that exist, by exact path.
class FakeFileLookup : public FileLookup {
public:
    std::set<std::string> files;
    std::vector<std::string> asked;

    std::string Dir(const std::string& pathName, int attributes) override {
        asked.push_back(pathName + " attr " + std::to_string(attributes));
        if (attributes != 0 || files.count(pathName) == 0) return "";
        return pathName.substr(pathName.find_last_of('\\') + 1);
    }
};

// Starts nothing; records every start and answers with `succeeds`.
class FakeProgramStarter : public ProgramStarter {
public:
    bool succeeds = true;
    std::vector<std::string> started;

    bool Shell(const std::string& pathName, int windowStyle) override {
        started.push_back(pathName + " style " + std::to_string(windowStyle));
        return succeeds && !pathName.empty();
    }
};

class FakeMessageBox : public MessageBox {
public:
    QStringList shown;
    void Show(const QString& text) override { shown << text; }
};

// Both mail objects, logging every call in order; the steps named in `failing` raise MailError.
class FakeMail : public MailSession, public MailMessages {
public:
    std::vector<std::string> calls;
    std::set<std::string> failing;
    std::int32_t session = 0;

    void SignOn() override {
        Call("SignOn");
        session = 77;
    }
    std::int32_t SessionID() override {
        Call("SessionID");
        return session;
    }
    void SignOff() override {
        Call("SignOff");
        session = 0;
    }
    void SetSessionID(std::int32_t id) override { Call("SetSessionID " + std::to_string(id)); }
    void Compose() override { Call("Compose"); }
    void SetRecipAddress(const QString& address) override {
        Call("SetRecipAddress " + address.toStdString());
    }
    void SetRecipDisplayName(const QString& name) override {
        Call("SetRecipDisplayName " + name.toStdString());
    }
    void SetAction(std::int16_t action) override { Call("SetAction " + std::to_string(action)); }

private:
    void Call(const std::string& call) {
        calls.push_back(call);
        const std::string step = call.substr(0, call.find(' '));
        if (failing.count(step) != 0) throw MailError(step + " failed");
    }
};
