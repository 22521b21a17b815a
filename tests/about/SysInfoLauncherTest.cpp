#include "about/SysInfoLauncher.h"

#include <gtest/gtest.h>

#include <optional>

#include "tests/about/AboutFakes.h"

namespace {

const char* const kKey = "SOFTWARE\\Quillix\\Test";
const char* const kInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char* const kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

struct Services {
    RecordingRegistry registry;
    FakeFileLookup files;
    FakeProgramStarter programs;
    FakeMessageBox messages;
    SysInfoLauncher launcher{registry, files, programs, messages};
};

struct ValueCase {
    const char* name;
    std::optional<RegValue> value;  // nothing: the key is missing
    bool found;
    std::string keyVal;  // KeyVal after the call; it enters as "before"
};

class GetKeyValueTest : public testing::TestWithParam<ValueCase> {};

TEST_P(GetKeyValueTest, ReadsTheValueAsText) {
    const ValueCase& c = GetParam();
    Services s;
    if (c.value) s.registry.keys.SetValue(kKey, "Item", *c.value);
    std::string keyVal = "before";
    EXPECT_EQ(s.launcher.GetKeyValue(kHKeyLocalMachine, kKey, "Item", keyVal), c.found);
    EXPECT_EQ(keyVal, c.keyVal);
    // The key is opened for the launcher's access and closed once, also when the open failed.
    ASSERT_EQ(s.registry.openMasks.size(), 1u);
    EXPECT_EQ(s.registry.openMasks[0], 0x2003Fu);
    ASSERT_EQ(s.registry.closed.size(), 1u);
    if (!c.value) {
        EXPECT_EQ(s.registry.closed[0], 0u);
    }
    EXPECT_EQ(s.registry.keys.OpenHandles(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Values, GetKeyValueTest,
    testing::Values(
        ValueCase{"MissingKey", std::nullopt, false, ""},
        ValueCase{"TextWithNul", TextValue("/usr/bin/tool"), true, "/usr/bin/tool"},
        ValueCase{"TextWithoutNul", RegValue{kRegSz, "abc"}, true, "abc"},
        ValueCase{"OnlyTheLastNulGoes", RegValue{kRegSz, std::string("ab\0\0", 4)}, true,
                  std::string("ab\0", 3)},
        ValueCase{"OneNul", RegValue{kRegSz, std::string(1, '\0')}, true, ""},
        ValueCase{"Dword", DwordValue(42), true, "42"},
        ValueCase{"DwordHighBitSet", DwordValue(0xFFFFFFFFu), true, "4294967295"},
        ValueCase{"DwordShortData", RegValue{kRegDword, "\x05"}, true, "5"},
        ValueCase{"ExpandableTextKeepsKeyVal", RegValue{kRegExpandSz, "%PATH%"}, true, "before"},
        ValueCase{"BinaryKeepsKeyVal", RegValue{kRegBinary, "\x01\x02"}, true, "before"},
        ValueCase{"FillsTheBuffer", RegValue{kRegSz, std::string(1024, 'x')}, true,
                  std::string(1024, 'x')},
        ValueCase{"LongerThanTheBuffer", RegValue{kRegSz, std::string(1025, 'x')}, false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GetKeyValue, MissingValueInPresentKeyEmptiesKeyVal) {
    Services s;
    s.registry.keys.SetValue(kKey, "Other", TextValue("x"));
    std::string keyVal = "before";
    EXPECT_FALSE(s.launcher.GetKeyValue(kHKeyLocalMachine, kKey, "Item", keyVal));
    EXPECT_EQ(keyVal, "");
    EXPECT_EQ(s.registry.keys.OpenHandles(), 0u);
}

TEST(GetKeyValue, KeyReadableButNotWritableCountsAsAbsent) {
    Services s;
    s.registry.keys.AddKey(kKey, /*writable=*/false);
    s.registry.keys.SetValue(kKey, "Item", TextValue("x"));
    std::string keyVal = "before";
    EXPECT_FALSE(s.launcher.GetKeyValue(kHKeyLocalMachine, kKey, "Item", keyVal));
    EXPECT_EQ(keyVal, "");
}

TEST(GetKeyValue, ZeroLengthValueRaisesAndStillClosesTheKey) {
    Services s;
    s.registry.keys.SetValue(kKey, "Item", RegValue{kRegSz, ""});
    std::string keyVal = "before";
    EXPECT_THROW(s.launcher.GetKeyValue(kHKeyLocalMachine, kKey, "Item", keyVal),
                 RegistryValueError);
    EXPECT_EQ(keyVal, "before");
    EXPECT_EQ(s.registry.keys.OpenHandles(), 0u);
}

// The launcher's paths: what is in the registry and on disk, what it starts, and whether the
// user is told that the tool is unavailable.
struct LaunchCase {
    const char* name;
    std::optional<RegValue> fullPath;  // the MSINFO key's PATH value
    std::optional<RegValue> folder;    // the Shared Tools Location key's MSINFO value
    std::set<std::string> files;
    bool startSucceeds;
    std::vector<std::string> started;
    bool unavailable;
};

class StartSysInfoTest : public testing::TestWithParam<LaunchCase> {};

TEST_P(StartSysInfoTest, StartsTheToolOrSaysItIsUnavailable) {
    const LaunchCase& c = GetParam();
    Services s;
    if (c.fullPath) s.registry.keys.SetValue(kInfoKey, "PATH", *c.fullPath);
    if (c.folder) s.registry.keys.SetValue(kLocationKey, "MSINFO", *c.folder);
    s.files.files = c.files;
    s.programs.succeeds = c.startSucceeds;

    s.launcher.StartSysInfo();

    EXPECT_EQ(s.programs.started, c.started);
    if (c.unavailable) {
        EXPECT_EQ(s.messages.shown, QStringList{"System Information Is Unavailable At This Time"});
    } else {
        EXPECT_TRUE(s.messages.shown.isEmpty());
    }
    EXPECT_EQ(s.registry.keys.OpenHandles(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, StartSysInfoTest,
    testing::Values(LaunchCase{"FullPathStartsWithoutExistenceCheck",
                               TextValue("/opt/info/tool"),
                               std::nullopt,
                               {},
                               true,
                               {"/opt/info/tool style 1"},
                               false},
                    LaunchCase{"FullPathWinsOverFolder",
                               TextValue("/opt/info/tool"),
                               TextValue("c:\\tools"),
                               {"c:\\tools\\MSINFO32.EXE"},
                               true,
                               {"/opt/info/tool style 1"},
                               false},
                    LaunchCase{"FullPathToMissingProgramFailsToStart",
                               TextValue("/missing/tool"),
                               std::nullopt,
                               {},
                               false,
                               {"/missing/tool style 1"},
                               true},
                    LaunchCase{"FullPathOfAnotherTypeStartsEmptyPath",
                               RegValue{kRegExpandSz, "x"},
                               std::nullopt,
                               {},
                               true,
                               {" style 1"},
                               true},
                    LaunchCase{"FolderWithTheProgram",
                               std::nullopt,
                               TextValue("c:\\tools"),
                               {"c:\\tools\\MSINFO32.EXE"},
                               true,
                               {"c:\\tools\\MSINFO32.EXE style 1"},
                               false},
                    LaunchCase{"FolderWithoutTheProgram",
                               std::nullopt,
                               TextValue("c:\\tools"),
                               {"c:\\tools\\OTHER.EXE"},
                               true,
                               {},
                               true},
                    LaunchCase{"FolderOfAnotherTypeLooksInTheRoot",
                               std::nullopt,
                               RegValue{kRegBinary, "x"},
                               {"\\MSINFO32.EXE"},
                               true,
                               {"\\MSINFO32.EXE style 1"},
                               false},
                    LaunchCase{"FolderFoundButStartFails",
                               std::nullopt,
                               TextValue("c:\\tools"),
                               {"c:\\tools\\MSINFO32.EXE"},
                               false,
                               {"c:\\tools\\MSINFO32.EXE style 1"},
                               true},
                    LaunchCase{"EmptyFullPathValueRaises",
                               RegValue{kRegSz, ""},
                               TextValue("c:\\tools"),
                               {"c:\\tools\\MSINFO32.EXE"},
                               true,
                               {},
                               true},
                    LaunchCase{"NothingFound", std::nullopt, std::nullopt, {}, true, {}, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
