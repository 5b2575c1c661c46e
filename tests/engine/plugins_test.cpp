// Custom items and plug-in items, run as passes against the sandbox.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "config/custom_list.h"
#include "config/inifun.h"
#include "config/plugin_rules.h"
#include "platform/path_rules.h"
#include "config/plugin_list.h"
#include "platform/text.h"
#include "support/pass_fixture.h"

namespace hm {
namespace {

using test::TempFolder;

class PluginsTest : public test::PassTest {
protected:
    PluginsTest() {
        values.LocalAppDataFolder = local.path();
        values.AppDataFolder = roaming.path();
    }
    void Plugin(const std::string& fileName, const std::string& text) {
        test::WriteFileText(program / ("plus-in\\" + fileName), text);
    }
    std::vector<std::string> Labels() const {
        std::vector<std::string> labels;
        for (const test::Row& row : ui.rows) {
            labels.push_back(row.label + "|" + row.status);
        }
        return labels;
    }

    TempFolder local;
    TempFolder roaming;
    test::TempRegKey key;
};

TEST_F(PluginsTest, APlugInErasesItsTreeAndFolderAndAddsItsFixedAmounts) {
    test::SetRegText(key.subKey() + "\\Example\\Sub", "v", "1");
    test::WriteFileOfSize(local / "Example\\Cache\\a", 300);
    test::WriteFileOfSize(local / "Example\\Cache\\sub\\b", 200);
    Plugin("Example.hmx",
           "[name]\r\nappname=Example\r\n[swich]\r\non=1\r\n[regtree]\r\n1=-2147483647," +
               key.subKey() + "\\Example\r\n[folder]\r\n1=localappdata,\\Example\\Cache\r\n");
    Run();
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Example|Done", "Task complete Successfully!|"}));
    EXPECT_FALSE(test::RegKeyExists(key.subKey() + "\\Example"));
    EXPECT_TRUE(test::FolderExists(local / "Example\\Cache"));
    EXPECT_TRUE(test::ListTree(local / "Example\\Cache").empty());
    EXPECT_EQ(result.registryKeys, 5 + 1);
    EXPECT_EQ(result.bytes, 500 + 50000);
}

// Lines the rules reject do nothing, but the row still counts its fixed amounts.
TEST_F(PluginsTest, LinesTheRulesRejectDoNothing) {
    test::SetRegText(key.subKey(), "Name", "stays");
    test::WriteFileOfSize(roaming / "App\\x.TMP", 10);
    test::WriteFileOfSize(roaming / "App\\y.tmp", 20);
    TempFolder current;
    test::CurrentFolderGuard guard(current.path());
    test::WriteFileOfSize(current / "AppData\\App\\keep.log", 5);
    Plugin("Rules.hmx", "[name]\r\nappname=Rules\r\n[swich]\r\non=1\r\n[reg]\r\n1=-2147483647," +
                            key.subKey() + "\r\n2=2147483649," + key.subKey() +
                            ",Name\r\n[fileext]\r\n1=appdata,\\App,TMP\r\n[file]\r\n"
                            "1=AppData,\\App,keep.log\r\n");
    Run();
    EXPECT_TRUE(test::RegValueExists(key.subKey(), "Name"));
    EXPECT_TRUE(test::FileExists(roaming / "App\\x.TMP"));
    EXPECT_TRUE(test::FileExists(roaming / "App\\y.tmp"));
    EXPECT_TRUE(test::FileExists(current / "AppData\\App\\keep.log"));
    EXPECT_EQ(result.registryKeys, 1);
    EXPECT_EQ(result.bytes, 50000);
}

// Rows follow the plug-in list; a plug-in that is off shows no row, and one whose file is named
// otherwise than its appname runs nothing but still shows and counts, even when the appname
// leads out of the plug-in folder to a file with actions.
TEST_F(PluginsTest, SwitchedOnPlugInsRunInListOrder) {
    Plugin("First.hmx", "[name]\r\nappname=First\r\n[swich]\r\non=1\r\n");
    Plugin("Second.HMX", "[name]\r\nappname=Second\r\n[swich]\r\non=1\r\n");
    Plugin("Off.hmx", "[name]\r\nappname=Off\r\n[swich]\r\non=0\r\n");
    Plugin("renamed.hmx", "[name]\r\nappname=Other Name\r\n[swich]\r\non=1\r\n[folder]\r\n"
                          "1=localappdata,\\Gone\r\n");
    test::WriteFileOfSize(local / "Gone\\f", 5);
    Plugin("escape.hmx", "[name]\r\nappname=..\\Escape\r\n[swich]\r\non=1\r\n");
    test::WriteFileText(program / "Escape.hmx", "[folder]\r\n1=localappdata,\\Gone\r\n");
    Plugin("notes.txt", "[name]\r\nappname=Notes\r\n[swich]\r\non=1\r\n");
    std::vector<std::string> expected;
    for (const PluginEntry& entry : ListPlugins(PluginFolder(program.path()), kPluginExtension)) {
        if (entry.on) {
            expected.push_back(entry.appname + "|Done");
        }
    }
    ASSERT_EQ(expected.size(), 4u);
    expected.push_back("Task complete Successfully!|");
    Run();
    EXPECT_EQ(Labels(), expected);
    EXPECT_TRUE(test::FileExists(local / "Gone\\f"));
    EXPECT_EQ(result.registryKeys, 4);
    EXPECT_EQ(result.bytes, 200000);
}

TEST_F(PluginsTest, APreviewOfAPlugInChangesNothing) {
    test::SetRegText(key.subKey() + "\\Tree", "v", "1");
    test::WriteFileOfSize(local / "Cache\\a", 30);
    Plugin("P.hmx", "[name]\r\nappname=P\r\n[swich]\r\non=1\r\n[regtree]\r\n1=-2147483647," +
                        key.subKey() + "\\Tree\r\n[folder]\r\n1=localappdata,\\Cache\r\n");
    const PassResult preview = Run(EraseMode::Preview);
    EXPECT_TRUE(test::RegKeyExists(key.subKey() + "\\Tree"));
    EXPECT_TRUE(test::FileExists(local / "Cache\\a"));
    EXPECT_EQ(ui.traces.size(), 2u);
    const PassResult erase = Run();
    EXPECT_EQ(erase.registryKeys, preview.registryKeys);
    EXPECT_EQ(erase.bytes, preview.bytes);
    EXPECT_FALSE(test::FileExists(local / "Cache\\a"));
}

TEST_F(PluginsTest, CustomItemsEraseTheirFilesAndWholeFolders) {
    Tick("Custom", "Custom");
    Run();
    EXPECT_EQ(Status("Custom Item"), "Fail, Can't find file!");

    TempFolder mine;
    test::WriteFileOfSize(mine / "diary.txt", 40);
    test::WriteFileOfSize(mine / "ro.txt", 7);
    test::SetAttributes(mine / "ro.txt", FILE_ATTRIBUTE_READONLY);
    test::WriteFileOfSize(mine / "Project\\a", 100);
    test::WriteFileOfSize(mine / "Project\\deep\\b", 200);
    // Drive q: (made by scripts/make-link-fixture) maps to a folder of the tests: a custom folder
    // naming a drive's root must leave it alone.
    ASSERT_TRUE(test::FileExists("Q:\\keep.txt")) << "the drive fixture was not made";
    ASSERT_TRUE(WriteCustomListFile(
        CustomListPath(program.path()),
        {{mine / "diary.txt", "File", true}, {mine / "ro.txt", "File", true},
         {mine / "Project", "Folder", true}, {mine / "gone.txt", "File", true},
         {mine / "Project2", "Thing", true}, {"Q:\\", "Folder", true}}));
    Run();
    EXPECT_EQ(Status("Custom Item"), "Done");
    EXPECT_FALSE(test::FileExists(mine / "diary.txt"));
    EXPECT_TRUE(test::FileExists(mine / "ro.txt"));
    EXPECT_FALSE(test::FolderExists(mine / "Project"));
    // Sizes count before the deletion is tried: the read-only file too. A drive root is never
    // deleted.
    EXPECT_EQ(result.bytes, 40 + 7 + 300);
    EXPECT_TRUE(test::FileExists("Q:\\keep.txt"));
}

// The plug-ins shipped beside the program: each named after its appname, off, and every action
// line one the rules take, erasing only below the user's own application data or keys.
TEST(ShippedPlugins, AreWellFormedOffAndStayInTheUsersOwnPlaces) {
    const std::string folder =
        std::string(ParentOf(test::ExecutableFolder())) + "\\plus-in";
    const std::vector<PluginEntry> plugins = ListPlugins(folder, kPluginExtension);
    ASSERT_GE(plugins.size(), 5u);
    for (const PluginEntry& plugin : plugins) {
        SCOPED_TRACE(plugin.file);
        EXPECT_EQ(plugin.file, PluginSwitchFile(ParentOf(folder), plugin.appname));
        EXPECT_FALSE(plugin.on);
        EXPECT_FALSE(plugin.appver.empty());
        EXPECT_FALSE(plugin.decs.empty());
        int actions = 0;
        for (const PluginSection section : kPluginSections) {
            for (const std::string& line : ReadIniSection(PluginSectionName(section), plugin.file)) {
                const auto action = ParsePluginLine(section, line, "<roaming>", "<local>");
                ASSERT_TRUE(action) << line;
                ++actions;
                if (section == PluginSection::RegTree || section == PluginSection::RegValue) {
                    EXPECT_EQ(action->root, kCurrentUser) << line;
                    EXPECT_EQ(action->subKey.rfind("Software\\", 0), 0u) << line;
                } else {
                    // Files in a program's own folder of the application data; a whole folder
                    // only below that program folder, never the program folder itself.
                    EXPECT_TRUE(action->folder.rfind("<roaming>\\", 0) == 0 ||
                                action->folder.rfind("<local>\\", 0) == 0)
                        << line;
                    const auto levels =
                        std::count(action->folder.begin(), action->folder.end(), '\\');
                    EXPECT_GE(levels, section == PluginSection::Folder ? 2 : 1) << line;
                    EXPECT_NE(action->folder.back(), '\\') << line;
                }
            }
        }
        EXPECT_GT(actions, 0);
    }
}

}  // namespace
}  // namespace hm
