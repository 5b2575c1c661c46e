#include "engine/firefox_profiles_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hm::firefox {
namespace {

const std::string kRoaming = "C:\\Users\\Ann\\AppData\\Roaming\\Mozilla\\Firefox";

// What today's Firefox writes after two installations and a profile moved to another drive.
const std::string kTwoInstalls =
    "\xEF\xBB\xBF[Install308046B0AF4A39CB]\r\n"
    "Default=Profiles/k2x9.default-release\r\n"
    "Locked=1\r\n"
    "\r\n"
    "[Install9A1B2C3D4E5F6071]\r\n"
    "Default=D:/Portable/FirefoxData\r\n"
    "\r\n"
    "[Profile1]\r\n"
    "Name=default\r\n"
    "IsRelative=1\r\n"
    "Path=Profiles/a1b2.default\r\n"
    "Default=1\r\n"
    "\r\n"
    "[Profile0]\r\n"
    "Name=default-release\r\n"
    "IsRelative=1\r\n"
    "Path=Profiles/k2x9.default-release\r\n"
    "\r\n"
    "[Profile2]\r\n"
    "Name=portable\r\n"
    "IsRelative=0\r\n"
    "Path=D:\\Portable\\FirefoxData\r\n"
    "\r\n"
    "[BackgroundTasksProfiles]\r\n"
    "MozillaBackgroundTask-308046B0AF4A39CB-backgroundupdate=abcd.BackgroundTask\r\n"
    "\r\n"
    "[General]\r\n"
    "StartWithLastProfile=1\r\n"
    "Version=2\r\n";

TEST(FirefoxProfiles, SectionsInstallsAndDefaults) {
    const ProfilesIni ini = ReadProfilesIni(kTwoInstalls, kRoaming + "\\");
    EXPECT_TRUE(ini.refused.empty());
    ASSERT_EQ(ini.profiles.size(), 3u);
    // In section order, whatever the file's order.
    EXPECT_EQ(ini.profiles[0].section, "Profile0");
    EXPECT_EQ(ini.profiles[0].name, "default-release");
    EXPECT_EQ(ini.profiles[0].folder, kRoaming + "\\Profiles\\k2x9.default-release");
    EXPECT_EQ(ini.profiles[0].relativePath, "Profiles\\k2x9.default-release");
    EXPECT_TRUE(ini.profiles[0].isDefault);  // from the first installation
    EXPECT_EQ(ini.profiles[1].folder, kRoaming + "\\Profiles\\a1b2.default");
    EXPECT_TRUE(ini.profiles[1].isDefault);  // Default=1
    EXPECT_EQ(ini.profiles[2].folder, "D:\\Portable\\FirefoxData");
    EXPECT_EQ(ini.profiles[2].relativePath, "");
    EXPECT_TRUE(ini.profiles[2].isDefault);  // the second installation, slashes aside

    const std::string local = "C:\\Users\\Ann\\AppData\\Local\\Mozilla\\Firefox";
    EXPECT_EQ(CacheFolderOf(ini.profiles[0], local), local + "\\Profiles\\k2x9.default-release");
    EXPECT_EQ(CacheFolderOf(ini.profiles[2], local), "D:\\Portable\\FirefoxData");
    EXPECT_EQ(CacheFolderOf(ini.profiles[0], "Mozilla\\Firefox"), "");
}

TEST(FirefoxProfiles, OnlyFoldersSafeToCleanAreKept) {
    struct Case {
        const char* isRelative;
        std::string path;
        std::string folder;  // empty: refused
    };
    const std::vector<Case> cases = {
        {"1", "Profiles/x.default", kRoaming + "\\Profiles\\x.default"},
        {"1", "Profiles\\\\x.default\\", kRoaming + "\\Profiles\\x.default"},
        {"1", "./Profiles/x.default", kRoaming + "\\Profiles\\x.default"},
        {"1", "Profiles/../../../../Documents", ""},
        {"1", "..", ""},
        {"1", "/Profiles/x", ""},
        {"1", "C:\\Profiles\\x", ""},
        {"1", "Profiles/x.default:stream", ""},
        {"1", "Profiles/...", ""},
        {"1", "Profiles/x /prefs", ""},
        {"1", "Profiles/x.", ""},
        {"1", "", ""},
        {"1", "/", ""},
        {"0", "E:\\Moved\\Profile", "E:\\Moved\\Profile"},
        {"0", "e:/Moved/Profile/", "e:\\Moved\\Profile"},
        {"0", "\\\\server\\share\\Profile", ""},
        {"0", "//server/share/Profile", ""},
        {"0", "\\\\?\\C:\\Profile", ""},
        {"0", "\\\\.\\C:\\Profile", ""},
        {"0", "C:Profile", ""},
        {"0", "C:\\", ""},
        {"0", "Profiles/x.default", ""},
        {"0", "C:\\Moved\\..\\Windows", ""},
        {"0", "1:\\Profile", ""},
        {"yes", "Profiles/x.default", ""},
        {"", "Profiles/x.default", ""},
    };
    for (const Case& c : cases) {
        const std::string text = std::string("[Profile0]\nName=x\nIsRelative=") + c.isRelative +
                                 "\nPath=" + c.path + "\n";
        const ProfilesIni ini = ReadProfilesIni(text, kRoaming);
        SCOPED_TRACE(std::string(c.isRelative) + " " + c.path);
        if (c.folder.empty()) {
            EXPECT_TRUE(ini.profiles.empty());
            ASSERT_EQ(ini.refused.size(), 1u);
            EXPECT_EQ(ini.refused[0].section, "Profile0");
            EXPECT_EQ(ini.refused[0].path, c.path);
            EXPECT_FALSE(ini.refused[0].reason.empty());
        } else {
            ASSERT_EQ(ini.profiles.size(), 1u);
            EXPECT_EQ(ini.profiles[0].folder, c.folder);
            EXPECT_TRUE(ini.refused.empty());
        }
    }
}

TEST(FirefoxProfiles, OddFilesGiveWhatTheyCan) {
    struct Case {
        std::string text;
        std::string firefoxFolder;
        std::vector<std::string> folders;
    };
    const std::vector<Case> cases = {
        {"", kRoaming, {}},
        {"garbage\nIsRelative=1\nPath=Profiles/x\n", kRoaming, {}},
        // Keys and section names in any case, blanks around them, comments skipped, LF only.
        {"; made by hand\n[profile3]\n  isrelative = 1 \n PATH = Profiles/y \n",
         kRoaming,
         {kRoaming + "\\Profiles\\y"}},
        // Two sections naming one folder: one profile.
        {"[Profile0]\nIsRelative=1\nPath=Profiles/x\n[Profile1]\nIsRelative=1\nPath=profiles\\X\n",
         kRoaming,
         {kRoaming + "\\Profiles\\x"}},
        // Not profile sections.
        {"[ProfileX]\nIsRelative=1\nPath=a\n[Profile]\nIsRelative=1\nPath=b\n"
         "[Profile-1]\nIsRelative=1\nPath=c\n",
         kRoaming,
         {}},
        // A section cut short keeps the first of a repeated key, as the system's reader does.
        {"[Profile0]\nIsRelative=1\nPath=Profiles/a\nPath=../b\n[Profile1]\nIsRelative=1",
         kRoaming,
         {kRoaming + "\\Profiles\\a"}},
        // Relative profiles need an absolute Firefox folder; absolute ones do not.
        {"[Profile0]\nIsRelative=1\nPath=Profiles/a\n[Profile1]\nIsRelative=0\nPath=D:\\P\n",
         "Mozilla\\Firefox",
         {"D:\\P"}},
        {"[Profile10]\nIsRelative=1\nPath=b\n[Profile9]\nIsRelative=1\nPath=a\n",
         kRoaming,
         {kRoaming + "\\a", kRoaming + "\\b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::string> folders;
        for (const Profile& profile : ReadProfilesIni(c.text, c.firefoxFolder).profiles) {
            folders.push_back(profile.folder);
            EXPECT_FALSE(profile.isDefault);
        }
        EXPECT_EQ(folders, c.folders);
    }
}

}  // namespace
}  // namespace hm::firefox
