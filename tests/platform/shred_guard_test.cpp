// The shredder's refusals. Check only judges a path; nothing here is shredded, so the real
// Windows, program-files, profile and program folders can be aimed at safely.
#include "platform/shred_guard.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <string>

#include "platform/files.h"
#include "platform/text.h"
#include "support/sandbox.h"
#include "support/shred_support.h"

namespace hm {
namespace {

std::string WindowsFolder() {
    wchar_t path[MAX_PATH + 1] = {};
    GetWindowsDirectoryW(path, MAX_PATH + 1);
    return Narrow(path);
}

std::string KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::string result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) {
        result = Narrow(path);
    }
    CoTaskMemFree(path);
    return result;
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

class GuardTest : public ::testing::Test {
protected:
    std::string Refusal(const std::string& path) const { return guard.Check(path).refusal; }
    shred::Guard guard = shred::Guard::ForThisProcess();
};

TEST_F(GuardTest, TheWindowsFolderAndEverythingInItAreRefusedHoweverWritten) {
    const std::string windows = WindowsFolder();
    ASSERT_FALSE(windows.empty());
    EXPECT_EQ(Refusal(windows), "it is the Windows folder");
    EXPECT_EQ(Refusal(Upper(windows) + "\\"), "it is the Windows folder");
    EXPECT_EQ(Refusal(windows + "."), "it is the Windows folder");
    EXPECT_EQ(Refusal(windows + "/system32/../win.ini"), "it is inside the Windows folder");
    EXPECT_EQ(Refusal("\\\\?\\" + windows + "\\system32"), "it is inside the Windows folder");
    EXPECT_EQ(Refusal(windows + "\\no such file"), "it is inside the Windows folder");
}

TEST_F(GuardTest, ProgramFilesProfileAndTheProgramsOwnFolder) {
    const std::string programFiles = KnownFolder(FOLDERID_ProgramFiles);
    ASSERT_FALSE(programFiles.empty());
    EXPECT_EQ(Refusal(programFiles), "it is a program-files folder");
    EXPECT_EQ(Refusal(programFiles + "\\Some App\\log.txt"), "it is inside a program-files folder");

    const std::string profile = KnownFolder(FOLDERID_Profile);
    ASSERT_FALSE(profile.empty());
    EXPECT_EQ(Refusal(profile), "it is your user profile folder");
    EXPECT_EQ(Refusal(std::string(profile.substr(0, profile.rfind('\\')))),
              "it holds your user profile folder");
    // What the user keeps in the profile is theirs to shred.
    test::TempFolder temp;
    EXPECT_EQ(Refusal(temp.path()), "");
    EXPECT_EQ(guard.Check(temp.path()).path, files::ToLongPath(temp.path()));

    const std::string own = test::ExecutableFolder();
    EXPECT_EQ(Refusal(own), "it is this program's own folder");
    EXPECT_EQ(Refusal(own + "\\hushsd.dat"), "it is inside this program's own folder");
}

TEST_F(GuardTest, RootsRelativePathsAndOtherFormsAreRefused) {
    for (const char* root : {"C:\\", "c:/", "Q:\\", "\\\\server\\share", "\\\\server\\share\\",
                             "\\\\?\\C:\\", "\\\\?\\UNC\\srv\\sh"}) {
        EXPECT_EQ(Refusal(root), "it is the root of a drive or network share") << root;
    }
    for (const char* relative :
         {"notes.txt", "..\\notes.txt", ".\\x", "\\Windows\\x", "C:notes.txt", "C:"}) {
        EXPECT_EQ(Refusal(relative),
                  "it is not a full path (a path relative to the current folder is refused)")
            << relative;
    }
    for (const char* device :
         {"\\\\?\\unix\\tmp", "\\\\.\\PhysicalDrive0", "\\\\?\\GLOBALROOT\\Device\\x",
          "\\\\?\\Volume{00000000-0000-0000-0000-000000000000}\\x", "//./C:/x"}) {
        EXPECT_EQ(Refusal(device), "it names a device or a volume, not a file or folder on a drive")
            << device;
    }
    test::TempFolder temp;
    EXPECT_EQ(Refusal(temp / "*.txt"), "it holds characters that no file or folder name may hold");
    EXPECT_EQ(Refusal(temp / "a.txt:secret"),
              "it names a data stream of a file, not a file or folder");
    EXPECT_EQ(Refusal(temp.path() + std::string("\0\\x", 3)), "it holds a NUL character");
    EXPECT_EQ(Refusal("  "), "no path was given");
}

TEST(GuardEnvironment, FoldersNamedByTheEnvironmentAreProtectedToo) {
    test::TempFolder fakeWindows;
    test::TempFolder fakeProfile;
    test::TempFolder fakeProgramFiles;
    const test::EnvironmentGuard windir("windir", fakeWindows.path());
    const test::EnvironmentGuard profile("USERPROFILE", fakeProfile.path());
    const test::EnvironmentGuard programs("ProgramFiles", fakeProgramFiles.path());
    const shred::Guard guard = shred::Guard::ForThisProcess();
    EXPECT_EQ(guard.Check(fakeWindows / "x.dll").refusal, "it is inside the Windows folder");
    EXPECT_EQ(guard.Check(fakeProfile.path()).refusal, "it is your user profile folder");
    EXPECT_EQ(guard.Check(fakeProfile / "notes.txt").refusal, "");
    EXPECT_EQ(guard.Check(fakeProgramFiles.path()).refusal, "it is a program-files folder");
}

// A link is judged by where it leads: a harmless-looking folder that is a link into a protected
// folder is refused, and so is everything reached through it.
TEST(GuardLinks, ALinkIntoAProtectedFolderIsRefused) {
    const shred::Guard guard(
        {{files::ToLongPath(test::kShredPrecious), "a precious folder", true}});
    const std::string link = test::kShredFixture + "\\guard\\dirlink";
    EXPECT_NE(guard.Check(link).refusal.find("it leads to"), std::string::npos)
        << guard.Check(link).refusal;
    EXPECT_NE(guard.Check(link + "\\keep.txt").refusal.find("which is inside a precious folder"),
              std::string::npos);
    EXPECT_EQ(guard.Check(test::kShredFixture + "\\guard\\plain.txt").refusal, "");
    EXPECT_EQ(guard.Check(test::kShredFixture).refusal, "it holds a precious folder");
}

}  // namespace
}  // namespace hm
