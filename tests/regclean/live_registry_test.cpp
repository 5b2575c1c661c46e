// The registry cleaner's Win32 side: values of every type read and written back byte for byte,
// names it cannot carry kept out of fixes, the 64-bit view for a 32-bit build, refusals that
// guard whole branches, and the file questions of the judging.
#include <gtest/gtest.h>

#include "regclean/cleaner.h"
#include "regclean/live_oracle.h"
#include "regclean/live_registry.h"
#include "seeded_registry.h"

namespace hm::regclean {
namespace {

void SetRawValue(const std::string& subKey, const std::wstring& name, DWORD type,
                 const std::string& data) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Widen(subKey).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    // Not a NUL after the data: the system would add it to a string lacking its own.
    const std::string padded = data + "\xFF\xFF";
    RegSetValueExW(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(padded.data()),
                   static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

std::map<std::string, RegValue> ByName(const std::vector<RegValue>& values) {
    std::map<std::string, RegValue> named;
    for (const RegValue& value : values) {
        named[value.name] = value;
    }
    return named;
}

class LiveRegistryTest : public ::testing::Test {
protected:
    std::string Full(const std::string& below = "") const {
        return temp.fullPath() + (below.empty() ? "" : "\\" + below);
    }
    hm::test::TempRegKey temp;
    hm::test::TempFolder folder;
    LiveRegistry registry;
};

const std::vector<RegValue> kEveryType = {
    {"", kRegSz, std::string("d\0\0\0", 4)},
    {"sz without NUL", kRegSz, std::string("a\0b\0", 4)},
    {"sz odd", kRegSz, std::string("a\0b", 3)},
    {"sz inner NUL", kRegSz, std::string("a\0\0\0b\0\0\0", 8)},
    {"expand", kRegExpandSz, std::string("%\0A\0%\0\0\0", 8)},
    {"multi", kRegMultiSz, std::string("a\0\0\0b\0\0\0\0\0", 10)},
    {"dword", kRegDword, std::string("\x01\x02\x03\x04", 4)},
    {"qword", kRegQword, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)},
    {"binary", kRegBinary, std::string("\0\xff\x80", 3)},
    {"binary empty", kRegBinary, ""},
    {"none", kRegNone, std::string("\x7f", 1)},
};

TEST_F(LiveRegistryTest, ATreeOfEveryValueTypeComesBackByteForByte) {
    for (const RegValue& value : kEveryType) {
        SetRawValue(temp.subKey() + "\\Tree", Widen(value.name), value.type, value.data);
        SetRawValue(temp.subKey() + "\\Tree\\Sub\\Deeper", Widen(value.name), value.type,
                    value.data);
    }
    hm::test::CreateKey(temp.subKey() + "\\Tree\\Empty");
    const test::Snapshot before = test::Take({Full()});

    std::vector<RegValue> read;
    ASSERT_TRUE(registry.Values(Full("Tree"), read));
    EXPECT_EQ(ByName(read), ByName(kEveryType));

    Finding tree;
    tree.key = Full("Tree");
    tree.changes = {{Change::Kind::DeleteKey, Full("Tree"), ""}};
    const std::string backup = folder / "tree.reg";
    const FixReport report = FixWithBackup({tree}, backup, registry);
    ASSERT_EQ(report.error, "");
    EXPECT_EQ(report.result.fixed.size(), 1u);
    EXPECT_FALSE(hm::test::RegKeyExists(temp.subKey() + "\\Tree"));

    const RestoreResult restored = RestoreFromFile(backup, registry);
    ASSERT_TRUE(restored.ok) << restored.error;
    EXPECT_EQ(restored.keys, 4);
    EXPECT_EQ(test::Take({Full()}), before);
}

TEST_F(LiveRegistryTest, AStringWithoutItsNulIsWrittenWithoutOne) {
    // The system would store the NUL that follows the data in memory; the write must not let it.
    const std::string memory("a\0b\0\0\0", 6);
    RegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, temp.subKey()), ERROR_SUCCESS);
    for (DWORD type : {REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ}) {
        ASSERT_EQ(key.SetRaw("v", type, std::string_view(memory.data(), 4)), ERROR_SUCCESS);
        DWORD readType = 0;
        std::string data;
        ASSERT_EQ(key.QueryRaw("v", readType, data), ERROR_SUCCESS);
        EXPECT_EQ(readType, type);
        EXPECT_EQ(data, std::string("a\0b\0", 4));
    }
}

TEST_F(LiveRegistryTest, NamesUtf8CannotCarryKeepTheirTreeOutOfAFix) {
    const std::wstring lone = L"lone \xD800 surrogate";
    SetRawValue(temp.subKey() + "\\Odd", lone, REG_SZ, std::string("x\0\0\0", 4));
    SetRawValue(temp.subKey() + "\\Odd", L"plain", REG_SZ, std::string("y\0\0\0", 4));
    std::vector<RegValue> read;
    EXPECT_FALSE(registry.Values(Full("Odd"), read));
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].name, "plain");

    Finding tree;
    tree.key = Full("Odd");
    tree.changes = {{Change::Kind::DeleteKey, Full("Odd"), ""}};
    const FixReport report = FixWithBackup({tree}, folder / "odd.reg", registry);
    EXPECT_EQ(report.plan.leftAlone.size(), 1u);
    EXPECT_TRUE(hm::test::RegKeyExists(temp.subKey() + "\\Odd"));
    EXPECT_FALSE(hm::test::FileExists(folder / "odd.reg"));
}

TEST_F(LiveRegistryTest, MachineKeysAreReadAndDeletedInThe64BitView) {
    // A throwaway key of this test directly below the machine's software key.
    const std::string top = "Software\\HushmarkTestView" + std::to_string(GetCurrentProcessId()) +
                            "-" + std::to_string(GetTickCount());
    const std::string subKey = top + "\\Inner";
    const std::string full = "HKEY_LOCAL_MACHINE\\" + subKey;
    ASSERT_TRUE(registry.CreateKey(full + "\\Deeper"));
    RegKey seen;
    EXPECT_EQ(seen.Open(HKEY_LOCAL_MACHINE, subKey, KEY_READ | KEY_WOW64_64KEY), ERROR_SUCCESS);
    seen.Close();
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    if (wow64) {
        RegKey redirected;
        EXPECT_EQ(redirected.Open(HKEY_LOCAL_MACHINE, subKey, KEY_READ | KEY_WOW64_32KEY),
                  ERROR_FILE_NOT_FOUND);
    }
    EXPECT_TRUE(registry.KeyExists(full));
    EXPECT_TRUE(registry.DeleteTree(full));
    EXPECT_FALSE(registry.KeyExists(full));
    EXPECT_EQ(DeleteRegistryKeyInView(HKEY_LOCAL_MACHINE, top, KEY_WOW64_64KEY), ERROR_SUCCESS);
}

TEST_F(LiveRegistryTest, ShallowKeysAndOtherRootsAreRefused) {
    EXPECT_FALSE(registry.DeleteTree("HKEY_CURRENT_USER\\Software"));
    EXPECT_FALSE(registry.DeleteTree("HKEY_CURRENT_USER\\Software\\HushmarkTests"));
    EXPECT_FALSE(registry.DeleteTree("HKEY_CURRENT_USER"));
    EXPECT_FALSE(registry.DeleteTree(Full("a\\\\b")));
    EXPECT_FALSE(registry.DeleteTree("HKEY_CLASSES_ROOT\\.txt\\OpenWithList\\x"));
    EXPECT_TRUE(hm::test::RegKeyExists("Software"));
    EXPECT_TRUE(hm::test::RegKeyExists(temp.subKey()));
    EXPECT_FALSE(registry.CreateKey("HKEY_USERS\\x\\y\\z"));
    // Already gone counts as done.
    EXPECT_TRUE(registry.DeleteTree(Full("never\\made")));
    EXPECT_TRUE(registry.DeleteValue(Full("never"), "x"));
}

TEST_F(LiveRegistryTest, TheOracleAnswersOnlyWhatItKnows) {
    LivePathOracle oracle;
    hm::test::WriteFileText(folder / "here.exe", "MZ");
    EXPECT_EQ(oracle.Probe(folder / "here.exe"), PathState::Exists);
    EXPECT_EQ(oracle.Probe(folder.path()), PathState::Exists);
    EXPECT_EQ(oracle.Probe(folder / "gone.exe"), PathState::Missing);
    EXPECT_EQ(oracle.Probe(folder / "gone\\deeper\\x.exe"), PathState::Missing);
    EXPECT_EQ(oracle.Probe(folder / "wild*.exe"), PathState::Unknown);
    EXPECT_EQ(oracle.Probe("\\\\server\\share\\x.exe"), PathState::Unknown);
    EXPECT_EQ(oracle.Probe("relative\\x.exe"), PathState::Unknown);
    EXPECT_FALSE(oracle.Variable("SystemRoot").empty());
    EXPECT_TRUE(oracle.Variable("HM_SURELY_NOT_SET").empty());
}

TEST_F(LiveRegistryTest, A32BitBuildFindsFilesOnlyThe64BitSystemFolderHolds) {
    LivePathOracle oracle;
    const SystemFolders folders = oracle.Folders();
    if (!folders.wow64Process) {
        GTEST_SKIP() << "not a 32-bit process on 64-bit Windows";
    }
    // wow64.dll lives in the native System32 only; a 32-bit process reading "System32" is shown
    // SysWOW64, where it is missing.
    const std::string path = folders.windows + "\\System32\\wow64.dll";
    EXPECT_EQ(oracle.Probe(path), PathState::Missing);
    EXPECT_EQ(JudgePath(path, oracle).state, PathState::Exists);
    EXPECT_EQ(
        JudgeCommand("%SystemRoot%\\system32\\rundll32.exe %windir%\\System32\\wow64.dll,X", oracle)
            .state,
        PathState::Exists);
    const std::vector<std::string> programFiles = oracle.Variable("ProgramFiles");
    EXPECT_EQ(programFiles.size(), 2u);
}

}  // namespace
}  // namespace hm::regclean
