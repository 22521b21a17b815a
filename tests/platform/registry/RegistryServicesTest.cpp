#include <gtest/gtest.h>

#include <filesystem>

#include "platform/desktop/DesktopMail.h"
#include "platform/desktop/ProgramStarter.h"
#include "platform/files/FileLookup.h"
#include "platform/registry/LinuxRegistry.h"
#include "platform/registry/MemoryRegistry.h"
#include "platform/registry/RegistryOverlay.h"
#include "tests/ScopedEnvironmentVariable.h"
#include "tests/TempFolder.h"

namespace {

const char* const kInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

// The value as GetKeyValue's caller would see it: status, type and bytes.
struct Read {
    long status = -1;
    std::uint32_t type = 0;
    std::string bytes;
};

Read ReadValue(Registry& registry, const std::string& key, const std::string& name,
               std::uint32_t capacity = 1024) {
    Read read;
    RegKey handle = 0;
    read.status = registry.RegOpenKeyEx(kHKeyLocalMachine, key, 0, kKeyLauncherAccess, handle);
    if (read.status != kErrorSuccess) return read;
    std::string buffer(capacity, '\0');
    std::uint32_t size = capacity;
    read.status = registry.RegQueryValueEx(handle, name, 0, read.type, buffer.data(), size);
    read.bytes = read.status == kErrorSuccess ? buffer.substr(0, size) : std::to_string(size);
    registry.RegCloseKey(handle);
    return read;
}

TEST(MemoryRegistry, FollowsWindowsStatusCodes) {
    MemoryRegistry registry;
    registry.SetValue("Software\\A", "Name", TextValue("v"));
    RegKey handle = 0;
    EXPECT_EQ(registry.RegOpenKeyEx(0x80000001, "Software\\A", 0, 0x2003F, handle),
              kErrorInvalidHandle);
    EXPECT_EQ(registry.RegOpenKeyEx(kHKeyLocalMachine, "Software\\B", 0, 0x2003F, handle),
              kErrorFileNotFound);
    EXPECT_EQ(handle, 0u);
    ASSERT_EQ(registry.RegOpenKeyEx(kHKeyLocalMachine, "SOFTWARE\\a", 0, 0x2003F, handle),
              kErrorSuccess);
    EXPECT_NE(handle, 0u);

    std::uint32_t type = 0;
    char small[1];
    std::uint32_t size = 1;
    EXPECT_EQ(registry.RegQueryValueEx(handle, "NAME", 0, type, small, size), kErrorMoreData);
    EXPECT_EQ(size, 2u);  // "v" and its NUL
    EXPECT_EQ(registry.RegQueryValueEx(handle, "Missing", 0, type, small, size),
              kErrorFileNotFound);

    EXPECT_EQ(registry.RegCloseKey(handle), kErrorSuccess);
    EXPECT_EQ(registry.RegCloseKey(handle), kErrorInvalidHandle);
    EXPECT_EQ(registry.RegQueryValueEx(handle, "Name", 0, type, small, size), kErrorInvalidHandle);
    EXPECT_EQ(registry.RegCloseKey(0), kErrorInvalidHandle);
}

struct OverlayCase {
    const char* name;
    std::string text;
    const char* key;
    const char* value;
    long status;
    std::uint32_t type;
    std::string bytes;
    int problemLine;  // 0: no problem reported
};

class OverlayTest : public testing::TestWithParam<OverlayCase> {};

TEST_P(OverlayTest, ParsesKeysAndValues) {
    const OverlayCase& c = GetParam();
    ParsedOverlay parsed = ParseRegistryOverlay(c.text);
    const Read read = ReadValue(parsed.keys, c.key, c.value);
    EXPECT_EQ(read.status, c.status);
    if (c.status == kErrorSuccess) {
        EXPECT_EQ(read.type, c.type);
        EXPECT_EQ(read.bytes, c.bytes);
    }
    if (c.problemLine == 0) {
        EXPECT_TRUE(parsed.problems.empty());
    } else {
        ASSERT_EQ(parsed.problems.size(), 1u);
        EXPECT_EQ(parsed.problems[0].line, c.problemLine);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, OverlayTest,
    testing::Values(OverlayCase{"Text", "[HKEY_LOCAL_MACHINE\\S\\K]\nPATH = /usr/bin/x y \n",
                                "s\\k", "path", kErrorSuccess, kRegSz,
                                std::string("/usr/bin/x y\0", 13), 0},
                    OverlayCase{"ShortRootCommentsAndCrLf",
                                "# c\r\n; c\r\n\r\n[hklm\\S\\K\\]\r\nA=1\r\n", "S\\K", "A",
                                kErrorSuccess, kRegSz, std::string("1\0", 2), 0},
                    OverlayCase{"QuotedKeepsBlanks", "[HKLM\\K]\nA = \"  dword:1 \"\n", "K", "A",
                                kErrorSuccess, kRegSz, std::string("  dword:1 \0", 11), 0},
                    OverlayCase{"Dword", "[HKLM\\K]\nA = dword:0000002A\n", "K", "A", kErrorSuccess,
                                kRegDword, std::string("\x2a\0\0\0", 4), 0},
                    OverlayCase{"BadDwordSkipped", "[HKLM\\K]\nA = dword:12345678g\n", "K", "A",
                                kErrorFileNotFound, 0, "", 2},
                    OverlayCase{"EmptyValueIsEmptyText", "[HKLM\\K]\nA =\n", "K", "A",
                                kErrorSuccess, kRegSz, std::string(1, '\0'), 0},
                    OverlayCase{"LaterValueWins", "[HKLM\\K]\nA = 1\n[HKLM\\K]\na = 2\n", "K", "A",
                                kErrorSuccess, kRegSz, std::string("2\0", 2), 0},
                    OverlayCase{"ValueBeforeAnyKey", "A = 1\n[HKLM\\K]\n", "K", "A",
                                kErrorFileNotFound, 0, "", 1},
                    OverlayCase{"OtherRootIgnored", "[HKEY_CURRENT_USER\\K]\nA = 1\n", "K", "A",
                                kErrorFileNotFound, 0, "", 1},
                    OverlayCase{"LineWithoutEquals", "[HKLM\\K]\nnonsense\nA = 1\n", "K", "A",
                                kErrorSuccess, kRegSz, std::string("1\0", 2), 2},
                    OverlayCase{"LongValueOverflowsTheBuffer",  // 1024 characters and the NUL
                                "[HKLM\\K]\nA = " + std::string(1024, 'x') + "\n", "K", "A",
                                kErrorMoreData, 0, "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

void WriteExecutable(const std::string& path) {
    WriteFileBytes(path, "#!/bin/sh\nexit 0\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

TEST(LinuxRegistry, DiscoversTheFirstSystemInformationProgramOnThePath) {
    TempFolder folder;
    std::filesystem::create_directories(folder / "a");
    std::filesystem::create_directories(folder / "b");
    WriteExecutable(folder / "b/gnome-system-monitor");
    WriteExecutable(folder / "b/kinfocenter");
    WriteFileBytes(folder / "a/hardinfo", "not executable");
    const std::string searchPath = "relative:" + (folder / "a") + ":" + (folder / "b");

    EXPECT_EQ(FindSystemInformationProgram(searchPath), folder / "b/kinfocenter");
    LinuxRegistry registry(std::nullopt, searchPath);
    const Read read = ReadValue(registry, "software\\microsoft\\shared tools\\msinfo", "Path");
    EXPECT_EQ(read.status, kErrorSuccess);
    EXPECT_EQ(read.bytes, folder / "b/kinfocenter" + std::string(1, '\0'));

    LinuxRegistry nothing(std::nullopt, folder / "a");
    EXPECT_EQ(ReadValue(nothing, kInfoKey, "PATH").status, kErrorFileNotFound);
}

// A program planted in the current folder, or in a folder below it, is never the one started.
TEST(LinuxRegistry, SearchesOnlyAbsoluteFolders) {
    TempFolder folder;
    std::filesystem::create_directories(folder / "bin");
    WriteExecutable(folder / "hardinfo");
    WriteExecutable(folder / "bin/hardinfo");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    for (const char* searchPath : {".", "", ":", "bin", "./bin", "::bin:"}) {
        EXPECT_EQ(FindSystemInformationProgram(searchPath), "") << '"' << searchPath << '"';
    }
    EXPECT_EQ(FindSystemInformationProgram(".:" + (folder / "bin")), folder / "bin/hardinfo");
    std::filesystem::current_path(before);
}

TEST(LinuxRegistry, OverlayKeyReplacesTheDiscoveredOne) {
    TempFolder folder;
    WriteExecutable(folder / "hardinfo");
    const std::string overlay = folder / "registry.txt";

    WriteFileBytes(overlay, "[HKLM\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\nPATH = /opt/x\n");
    LinuxRegistry replaced(overlay, folder.Path().string());
    EXPECT_EQ(ReadValue(replaced, kInfoKey, "PATH").bytes, std::string("/opt/x\0", 7));

    WriteFileBytes(overlay, "[HKLM\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\n");
    LinuxRegistry hidden(overlay, folder.Path().string());
    EXPECT_EQ(ReadValue(hidden, kInfoKey, "PATH").status, kErrorFileNotFound);

    WriteFileBytes(overlay, "[HKLM\\Other]\nA = 1\n");
    LinuxRegistry kept(overlay, folder.Path().string());
    EXPECT_EQ(ReadValue(kept, kInfoKey, "PATH").bytes, folder / "hardinfo" + std::string(1, '\0'));
    EXPECT_EQ(ReadValue(kept, "Other", "A").status, kErrorSuccess);
    EXPECT_TRUE(kept.Warnings().empty());
}

TEST(LinuxRegistry, BadOverlayIsReportedByFileAndLineAndDiscoveryStillWorks) {
    TempFolder folder;
    WriteExecutable(folder / "lshw-gtk");

    const std::string bad = folder / "bad.txt";
    WriteFileBytes(bad, "[HKLM\\K]\nA = 1\ngarbage\n");
    LinuxRegistry partly(bad, folder.Path().string());
    ASSERT_EQ(partly.Warnings().size(), 1u);
    EXPECT_EQ(partly.Warnings()[0], bad + ": line 3: expected [key] or name = value; line ignored");
    EXPECT_EQ(ReadValue(partly, "K", "A").status, kErrorSuccess);

    for (const std::string& unusable : {folder / "missing.txt", folder.Path().string()}) {
        LinuxRegistry registry(unusable, folder.Path().string());
        ASSERT_EQ(registry.Warnings().size(), 1u);
        EXPECT_EQ(registry.Warnings()[0], unusable + ": cannot read the registry overlay file");
        EXPECT_EQ(ReadValue(registry, kInfoKey, "PATH").status, kErrorSuccess);
    }

    const std::string huge = folder / "huge.txt";
    WriteFileBytes(huge, "[HKLM\\K]\n" + std::string(kMaxOverlayBytes, '#'));
    LinuxRegistry ignored(huge, "");
    EXPECT_EQ(ignored.Warnings().size(), 1u);
    EXPECT_EQ(ReadValue(ignored, "K", "A").status, kErrorFileNotFound);
}

TEST(LocalFileLookup, FindsPlainVisibleFilesOnly) {
    TempFolder folder;
    WriteFileBytes(folder / "MSINFO32.EXE", "x");
    WriteFileBytes(folder / ".hidden", "x");
    std::filesystem::create_directories(folder / "dir");
    std::filesystem::create_symlink(folder / "MSINFO32.EXE", folder / "link");
    ScopedEnvironmentVariable drive("QUILLIX_DRIVE_C", folder.Path().string());

    LocalFileLookup files;
    EXPECT_EQ(files.Dir(folder / "MSINFO32.EXE", 0), "MSINFO32.EXE");
    EXPECT_EQ(files.Dir("c:\\MSINFO32.EXE", 0), "MSINFO32.EXE");
    EXPECT_EQ(files.Dir("\\MSINFO32.EXE", 0), "MSINFO32.EXE");
    // A folder written the local way still takes the appended "\MSINFO32.EXE".
    EXPECT_EQ(files.Dir(folder.Path().string() + "\\MSINFO32.EXE", 0), "MSINFO32.EXE");
    EXPECT_EQ(files.Dir(folder / "link", 0), "link");
    EXPECT_EQ(files.Dir(folder / "msinfo32.exe", 0), "");
    EXPECT_EQ(files.Dir(folder / ".hidden", 0), "");
    EXPECT_EQ(files.Dir(folder / ".hidden", kAttrHidden), ".hidden");
    EXPECT_EQ(files.Dir(folder / "dir", 0), "");
    EXPECT_EQ(files.Dir(folder / "dir", kAttrDirectory), "dir");
    EXPECT_EQ(files.Dir(folder / "missing", 0), "");
    EXPECT_EQ(files.Dir("", 0), "");
}

TEST(DetachedProgramStarter, FailsForWhatCannotRun) {
    TempFolder folder;
    WriteFileBytes(folder / "plain.txt", "not a program");
    DetachedProgramStarter programs;
    EXPECT_FALSE(programs.Shell("", 1));
    EXPECT_FALSE(programs.Shell(folder / "missing", 1));
    EXPECT_FALSE(programs.Shell(folder / "plain.txt", 1));
    EXPECT_FALSE(programs.Shell(folder.Path().string(), 1));
}

TEST(DesktopMail, SendOpensOneMailtoLinkForTheAddress) {
    std::vector<QUrl> opened;
    DesktopMailSession session;
    DesktopMailMessages messages(session, [&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    session.SignOn();
    messages.SetSessionID(session.SessionID());
    messages.Compose();
    messages.SetRecipAddress("contact@quillix.org");
    messages.SetRecipDisplayName("contact@quillix.org");
    messages.SetAction(kMailActionSend);
    session.SignOff();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].toString(), "mailto:contact@quillix.org");
}

TEST(DesktopMail, AddressCannotSmuggleHeadersOrRecipients) {
    EXPECT_EQ(MailtoUrl("a@b.org?subject=hi&cc=x@y.org").toEncoded(),
              "mailto:a@b.org%3Fsubject%3Dhi%26cc%3Dx@y.org");
    EXPECT_EQ(MailtoUrl("a@b.org,c@d.org#x").toEncoded(), "mailto:a@b.org%2Cc@d.org%23x");
    EXPECT_EQ(MailtoUrl("j\u00f6rg+1@b.org").toEncoded(), "mailto:j%C3%B6rg+1@b.org");
}

TEST(DesktopMail, CallsOutOfOrderOrUnanswered) {
    bool answer = false;
    DesktopMailSession session;
    DesktopMailMessages messages(session, [&](const QUrl&) { return answer; });
    EXPECT_THROW(session.SessionID(), MailError);
    EXPECT_THROW(session.SignOff(), MailError);
    EXPECT_THROW(messages.Compose(), MailError);  // no session

    session.SignOn();
    messages.SetSessionID(session.SessionID() + 1);
    EXPECT_THROW(messages.Compose(), MailError);  // someone else's session
    messages.SetSessionID(session.SessionID());
    EXPECT_THROW(messages.SetRecipAddress("a@b.org"), MailError);  // nothing composed
    messages.Compose();
    EXPECT_THROW(messages.SetAction(kMailActionSend), MailError);  // no recipient
    messages.SetRecipAddress("a@b.org");
    EXPECT_THROW(messages.SetAction(1), MailError);
    EXPECT_THROW(messages.SetAction(kMailActionSend), MailError);  // no mail program
    answer = true;
    messages.SetAction(kMailActionSend);

    const std::int32_t first = session.SessionID();
    session.SignOff();
    EXPECT_THROW(messages.Compose(), MailError);  // signed off
    session.SignOn();
    EXPECT_NE(session.SessionID(), first);
}

}  // namespace
