// The general routines where they meet the system: the environment, COM and the current folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/erase.h"
#include "engine/normal.h"
#include "platform/office_probe.h"
#include "platform/text.h"
#include "support/sandbox.h"

namespace hm {
namespace {

// Sets USERPROFILE for the guard's lifetime (nullptr removes it) and puts the old value back.
class UserProfileGuard {
public:
    explicit UserProfileGuard(const wchar_t* value) {
        wchar_t buffer[32768];
        const DWORD length = GetEnvironmentVariableW(L"USERPROFILE", buffer, 32768);
        existed_ = length > 0;
        saved_.assign(buffer, length);
        SetEnvironmentVariableW(L"USERPROFILE", value);
    }
    ~UserProfileGuard() {
        SetEnvironmentVariableW(L"USERPROFILE", existed_ ? saved_.c_str() : nullptr);
    }
    UserProfileGuard(const UserProfileGuard&) = delete;
    UserProfileGuard& operator=(const UserProfileGuard&) = delete;

private:
    bool existed_ = false;
    std::wstring saved_;
};

TEST(NormalUserProfile, ReadsTheVariableOfThisProcess) {
    {
        UserProfileGuard profile(L"C:\\users\\Пётр");
        EXPECT_EQ(ExpandUserProfile("%USERPROFILE%\\Cookies"), "C:\\users\\Пётр\\Cookies");
        EXPECT_EQ(ExpandUserProfile("C:\\Temp"), "C:\\Temp");
    }
    // Without the variable the result is relative, and the file operations refuse it.
    test::TempFolder dir;
    test::WriteFileOfSize(dir / "Cookies\\c.txt", 3);
    UserProfileGuard profile(nullptr);
    const std::string expanded = ExpandUserProfile("%USERPROFILE%\\Cookies");
    EXPECT_EQ(expanded, "\\Cookies");
    test::CurrentFolderGuard current(dir.path());
    Eraser eraser(EraseMode::Erase);
    EXPECT_EQ(eraser.DeleteFolderFiles(expanded), 10000);
    EXPECT_TRUE(test::FileExists(dir / "Cookies\\c.txt"));
}

TEST(NormalOfficeVersion, TheRealProbeReportsAMissingWord) {
    // The sandbox has no Office: the automation object cannot be created.
    WordAutomationProbe probe;
    const OfficeProbeResult result = probe.Probe();
    EXPECT_FALSE(result.created);
    EXPECT_EQ(result.version, "0");
    EXPECT_EQ(GetOfficeVersion(probe), "NoOffice");
}

TEST(NormalFileSelection, SplitsAgainstTheCurrentFolder) {
    test::TempFolder dir;
    test::CurrentFolderGuard current(dir.path());
    const FileSelection one = ParseFileSelection(dir / "a.txt");
    EXPECT_EQ(one.count, 1);
    EXPECT_EQ(one.folder, dir.path() + "\\");
    EXPECT_EQ(one.names, (std::vector<std::string>{"a.txt"}));

    const FileSelection many = ParseFileSelection(dir.path() + std::string("\0a.txt\0b c.log", 14));
    EXPECT_EQ(many.count, 2);
    EXPECT_EQ(many.names, (std::vector<std::string>{"a.txt", "b c.log"}));
}

}  // namespace
}  // namespace hm
