// Registry keys, trees and values, profile-file sections and deletion at restart.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "engine/erase.h"
#include "engine/erase_recorder.h"
#include "platform/text.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using test::EraseRecorder;
using test::TempFolder;
using test::TempRegKey;

TEST(EraseRegKey, AlwaysCountsThreeAndDeletesOnlyALeafKey) {
    TempRegKey key;
    const std::string leaf = key.subKey() + "\\leaf";
    const std::string parent = key.subKey() + "\\parent";
    test::SetRegText(leaf, "v", "1");
    test::CreateKey(parent + "\\child");

    for (const EraseMode mode : {EraseMode::Preview, EraseMode::Erase}) {
        SCOPED_TRACE(mode == EraseMode::Preview ? "preview" : "erase");
        EraseRecorder recorder;
        Eraser eraser(mode, &recorder);
        EXPECT_EQ(eraser.DeleteRegKey(kCurrentUser, leaf), 3u);
        EXPECT_EQ(test::RegKeyExists(leaf), mode == EraseMode::Preview);
        // A key with sub-keys is not deleted by name.
        EXPECT_EQ(eraser.DeleteRegKey(kCurrentUser, parent), 3u);
        EXPECT_TRUE(test::RegKeyExists(parent + "\\child"));

        ASSERT_EQ(recorder.traces.size(), 2u);
        EXPECT_EQ(recorder.traces[0].kind, TraceKind::RegistryKey);
        EXPECT_EQ(recorder.traces[0].path, "HKEY_CURRENT_USER\\" + leaf);
        EXPECT_TRUE(recorder.traces[0].removed());
        EXPECT_EQ(recorder.traces[1].path, "HKEY_CURRENT_USER\\" + parent);
        EXPECT_FALSE(recorder.traces[1].removed());
        EXPECT_NE(recorder.traces[1].error, 0u);
    }
}

// Opening with create semantics would make every missing parent and delete only the leaf,
// leaving the parents behind on a machine that never had them.
TEST(EraseRegKey, AMissingKeyAndItsMissingParentsAreNeverMade) {
    TempRegKey key;
    const std::string missing = key.subKey() + "\\Yahoo\\pager\\missing";
    for (const EraseMode mode : {EraseMode::Preview, EraseMode::Erase}) {
        EraseRecorder recorder;
        Eraser eraser(mode, &recorder);
        EXPECT_EQ(eraser.DeleteRegKey(kCurrentUser, missing), 3u);
        EXPECT_FALSE(test::RegKeyExists(key.subKey() + "\\Yahoo"));
        EXPECT_TRUE(recorder.traces.empty());
    }
}

TEST(EraseRegTree, RemovesTheWholeTreeAndCountsFiveEvenWhenMissing) {
    TempRegKey key;
    const std::string tree = key.subKey() + "\\tree";
    test::SetRegText(tree + "\\a\\b", "v", "x");
    test::SetRegText(tree, "w", "y");
    test::SetRegText(key.subKey() + "\\sibling", "v", "z");

    EraseRecorder recorder;
    Eraser previewer(EraseMode::Preview, &recorder);
    EXPECT_EQ(previewer.DeleteRegTree(kCurrentUser, tree), 5u);
    EXPECT_TRUE(test::RegValueExists(tree + "\\a\\b", "v"));
    Eraser eraser(EraseMode::Erase, &recorder);
    EXPECT_EQ(eraser.DeleteRegTree(kCurrentUser, tree), 5u);
    EXPECT_FALSE(test::RegKeyExists(tree));
    EXPECT_TRUE(test::RegValueExists(key.subKey() + "\\sibling", "v"));
    EXPECT_EQ(eraser.DeleteRegTree(kCurrentUser, tree), 5u);

    ASSERT_EQ(recorder.traces.size(), 2u);
    for (const Trace& trace : recorder.traces) {
        EXPECT_EQ(trace.kind, TraceKind::RegistryTree);
        EXPECT_EQ(trace.path, "HKEY_CURRENT_USER\\" + tree);
        EXPECT_TRUE(trace.removed());
    }
}

TEST(EraseRegValue, RemovesOneValueAndCountsOneEvenWhenMissing) {
    TempRegKey key;
    test::SetRegText(key.subKey(), "gone", "1");
    test::SetRegText(key.subKey(), "stays", "2");

    EraseRecorder recorder;
    Eraser previewer(EraseMode::Preview, &recorder);
    EXPECT_EQ(previewer.DeleteRegValue(kCurrentUser, key.subKey(), "gone"), 1u);
    EXPECT_TRUE(test::RegValueExists(key.subKey(), "gone"));
    Eraser eraser(EraseMode::Erase, &recorder);
    EXPECT_EQ(eraser.DeleteRegValue(kCurrentUser, key.subKey(), "gone"), 1u);
    EXPECT_FALSE(test::RegValueExists(key.subKey(), "gone"));
    EXPECT_TRUE(test::RegValueExists(key.subKey(), "stays"));
    EXPECT_EQ(eraser.DeleteRegValue(kCurrentUser, key.subKey(), "gone"), 1u);
    EXPECT_EQ(eraser.DeleteRegValue(kCurrentUser, key.subKey() + "\\none", "stays"), 1u);
    EXPECT_FALSE(test::RegKeyExists(key.subKey() + "\\none"));

    ASSERT_EQ(recorder.traces.size(), 2u);
    for (const Trace& trace : recorder.traces) {
        EXPECT_EQ(trace.kind, TraceKind::RegistryValue);
        EXPECT_EQ(trace.path, "HKEY_CURRENT_USER\\" + key.subKey());
        EXPECT_EQ(trace.name, "gone");
    }
}

TEST(EraseRegistryGuards, NoRootOrTheRootItselfTouchesNothing) {
    TempRegKey key;
    test::SetRegText(key.subKey(), "v", "1");
    EraseRecorder recorder;
    Eraser eraser(EraseMode::Erase, &recorder);
    EXPECT_EQ(eraser.DeleteRegTree(0, key.subKey()), 5u);
    EXPECT_EQ(eraser.DeleteRegKey(0, key.subKey()), 3u);
    EXPECT_EQ(eraser.DeleteRegValue(0, key.subKey(), "v"), 1u);
    EXPECT_TRUE(test::RegValueExists(key.subKey(), "v"));

    // An empty sub-key would name the whole hive; Preview shows what Erase would do.
    Eraser previewer(EraseMode::Preview, &recorder);
    EXPECT_EQ(previewer.DeleteRegTree(kCurrentUser, ""), 5u);
    EXPECT_EQ(previewer.DeleteRegTree(kCurrentUser, "\\"), 5u);
    EXPECT_EQ(previewer.DeleteRegKey(kCurrentUser, ""), 3u);
    EXPECT_TRUE(recorder.traces.empty());

    // A NUL inside a name would make the system see only the part before it: a parent key.
    const std::string withNul = key.subKey() + std::string(1, '\0') + "\\child";
    test::CreateKey(key.subKey() + "\\child");
    EXPECT_EQ(eraser.DeleteRegTree(kCurrentUser, withNul), 5u);
    EXPECT_EQ(eraser.DeleteRegKey(kCurrentUser, withNul), 3u);
    EXPECT_EQ(eraser.DeleteRegValue(kCurrentUser, key.subKey(), std::string("v\0x", 3)), 1u);
    EXPECT_TRUE(test::RegValueExists(key.subKey(), "v"));
    EXPECT_TRUE(test::RegKeyExists(key.subKey() + "\\child"));
}

std::wstring ReadProfileText(const std::string& file, const char* section, const char* key) {
    wchar_t buffer[256];
    GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"<none>", buffer, 256,
                             Widen(file).c_str());
    return buffer;
}

TEST(EraseIniSection, RemovesOneSectionWithItsKeys) {
    TempFolder dir;
    const std::string ini = dir / "профиль.ini";
    const std::string text = "[Keep]\r\na=1\r\n[Gone]\r\nb=2\r\nc=3\r\n[Other]\r\nd=4\r\n";
    test::WriteFileText(ini, text);

    EraseRecorder recorder;
    Eraser previewer(EraseMode::Preview, &recorder);
    previewer.DeleteIniSection(ini, "gone");
    EXPECT_EQ(test::ReadFileText(ini), text);
    previewer.DeleteIniSection(ini, "absent");
    previewer.DeleteIniSection(dir / "none.ini", "Gone");
    EXPECT_FALSE(test::FileExists(dir / "none.ini"));
    ASSERT_EQ(recorder.traces.size(), 1u);
    EXPECT_EQ(recorder.traces[0].kind, TraceKind::IniSection);
    EXPECT_EQ(recorder.traces[0].path, ini);
    EXPECT_EQ(recorder.traces[0].name, "gone");

    Eraser eraser(EraseMode::Erase, &recorder);
    eraser.DeleteIniSection(ini, "gone");
    eraser.DeleteIniSection(dir / "none.ini", "Gone");
    EXPECT_FALSE(test::FileExists(dir / "none.ini"));
    EXPECT_EQ(ReadProfileText(ini, "Gone", "b"), L"<none>");
    EXPECT_EQ(ReadProfileText(ini, "Keep", "a"), L"1");
    EXPECT_EQ(ReadProfileText(ini, "Other", "d"), L"4");
    ASSERT_EQ(recorder.traces.size(), 2u);
    EXPECT_TRUE(recorder.traces[1].removed());
}

// Deletion at restart is recorded in one system value; the guard puts it back as it was.
class PendingRenames {
public:
    PendingRenames() : existed_(Read(saved_)) {}
    ~PendingRenames() {
        if (existed_) {
            RegSetKeyValueW(HKEY_LOCAL_MACHINE, kKey, kValue, REG_MULTI_SZ, saved_.data(),
                            static_cast<DWORD>(saved_.size() * sizeof(wchar_t)));
        } else {
            RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kKey, kValue);
        }
    }
    PendingRenames(const PendingRenames&) = delete;
    PendingRenames& operator=(const PendingRenames&) = delete;

    std::wstring Text() const {
        std::wstring text;
        Read(text);
        return text;
    }

private:
    static constexpr const wchar_t* kKey = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
    static constexpr const wchar_t* kValue = L"PendingFileRenameOperations";

    static bool Read(std::wstring& text) {
        DWORD size = 0;
        text.clear();
        if (RegGetValueW(HKEY_LOCAL_MACHINE, kKey, kValue, RRF_RT_REG_MULTI_SZ, nullptr, nullptr,
                         &size) != ERROR_SUCCESS) {
            return false;
        }
        text.assign(size / sizeof(wchar_t), L'\0');
        return RegGetValueW(HKEY_LOCAL_MACHINE, kKey, kValue, RRF_RT_REG_MULTI_SZ, nullptr,
                            text.data(), &size) == ERROR_SUCCESS;
    }

    std::wstring saved_;  // before existed_: the constructor fills it first
    bool existed_;
};

TEST(EraseAtReboot, RegistersAbsolutePathsOnly) {
    TempFolder dir;
    const std::string file = dir / "index.dat";
    test::WriteFileOfSize(file, 12);
    PendingRenames pending;
    const std::wstring before = pending.Text();
    ASSERT_EQ(before.find(Widen(file)), std::wstring::npos);

    EraseRecorder recorder;
    Eraser previewer(EraseMode::Preview, &recorder);
    previewer.DeleteAtReboot(file);
    EXPECT_EQ(pending.Text(), before);
    ASSERT_EQ(recorder.traces.size(), 1u);
    EXPECT_EQ(recorder.traces[0].kind, TraceKind::RebootDelete);
    EXPECT_EQ(recorder.traces[0].bytes, 12);

    Eraser eraser(EraseMode::Erase, &recorder);
    {
        test::CurrentFolderGuard current(dir.path());
        eraser.DeleteAtReboot("index.dat");
        eraser.DeleteAtReboot(dir.path().substr(2) + "\\index.dat");
        EXPECT_EQ(pending.Text(), before);
    }
    eraser.DeleteAtReboot(file);
    EXPECT_NE(pending.Text().find(Widen(file)), std::wstring::npos);
    EXPECT_TRUE(test::FileExists(file));
    ASSERT_EQ(recorder.traces.size(), 2u);
    EXPECT_TRUE(recorder.traces[1].removed());
}

}  // namespace
}  // namespace hm
