#include "engine/shared_values.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include "platform/text.h"
#include "support/sandbox.h"

namespace hm {
namespace {

std::string KnownFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return Narrow(path);
}

TEST(SharedValues, ComeFromTheUserShellFoldersAndTheSystem) {
    test::RecordingMessages messages;
    Regfun registry(messages);
    SharedValues values;
    ComputeSharedValues(values, registry);

    // The shell's own answers: the stored "%USERPROFILE%\..." texts expand to the same folders.
    EXPECT_EQ(values.AppDataFolder, KnownFolder(CSIDL_APPDATA));
    EXPECT_EQ(values.LocalAppDataFolder, KnownFolder(CSIDL_LOCAL_APPDATA));
    EXPECT_EQ(values.WindowsFolder, KnownFolder(CSIDL_WINDOWS));

    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
#ifdef __GNUC__
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    GetVersionExW(&version);
#ifdef __GNUC__
#pragma GCC diagnostic pop
#endif
    EXPECT_EQ(values.WindowsVersion, std::to_string(version.dwMajorVersion) + "." +
                                         std::to_string(version.dwMinorVersion));

    const std::string ieVersion = registry.GetRegString(
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Internet Explorer", "Version");
    if (ieVersion != "Error" && !ieVersion.empty() && ieVersion[0] >= '0' && ieVersion[0] <= '9') {
        EXPECT_EQ(values.IEMajorVersion, ieVersion[0] - '0');
    } else {
        EXPECT_EQ(values.IEMajorVersion, 0);
    }
    EXPECT_TRUE(messages.told.empty());
}

TEST(SharedValues, AMissingShellFolderValueReadsAsError) {
    test::RecordingMessages messages;
    Regfun registry(messages);
    // "Error" is relative, so every erase operation built on it does nothing.
    EXPECT_EQ(UserShellFolder(registry, "No Such Folder Value"), "Error");
}

TEST(SharedValues, ProgramFolderIsTheExecutablesFolder) {
    EXPECT_EQ(ProgramFolder(), test::ExecutableFolder());
    EXPECT_NE(ProgramFolder().back(), '\\');
}

}  // namespace
}  // namespace hm
