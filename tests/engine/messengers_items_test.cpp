// The instant messenger items, run as passes against the sandbox's real registry and profile
// folders: the documents folder P, the application-data folders, the Yahoo! help folder named by
// its type library and the fixed Yahoo! program folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/shared_values.h"
#include "support/items_fixture.h"

namespace hm {
namespace {

using test::TempFolder;

constexpr const char* kPager = "Software\\Yahoo\\pager";
constexpr const char* kTypeLib =
    "SOFTWARE\\Classes\\TypeLib\\{2B323CCC-50E3-11D3-9466-00A0C9700498}";
constexpr const char* kIcqToolbar =
    "Software\\Microsoft\\Internet Explorer\\LowRegistry\\ICQ\\ICQToolBar\\History";

class MessengersTest : public test::ItemsTest {
protected:
    MessengersTest() {
        Regfun registry(messages);
        personal = UserShellFolder(registry, "Personal");
        for (const char* folder :
             {"\\my chat logs", "\\my received files", "\\AIMLogger", "\\ICQ"}) {
            OwnFolder(personal + folder);
        }
        OwnFolder(values.LocalAppDataFolder + "\\AIM");
        OwnFolder(values.AppDataFolder + "\\acccore");
        OwnFolder(values.AppDataFolder + "\\ICQ");
        OwnFolder(kYahooProgram);
        OwnKey(kCurrentUser, "Software\\Yahoo");
        OwnKey(kLocalMachine, kTypeLib);
        OwnKey(kCurrentUser, "Software\\Microsoft\\Internet Explorer\\LowRegistry");
    }

    // The help folder as Yahoo! writes it, with its trailing backslash.
    void PointYahooHelpAt(const std::string& folder) {
        SetValue(kLocalMachine, std::string(kTypeLib) + "\\1.0\\HELPDIR", "", folder + "\\");
    }

    static constexpr const char* kYahooProgram = "C:\\Program Files\\Yahoo!";
    std::string personal;
};

struct Case {
    const char* key;
    std::vector<std::string> gone;
    double bytes;
    double registryKeys;
};

std::vector<std::string> Sorted(std::vector<std::string> paths) {
    std::sort(paths.begin(), paths.end());
    return paths;
}

// Each item alone: what it deletes, what stays beside it, and what it counts.
TEST_F(MessengersTest, EachItemErasesItsFilesAndCountsThem) {
    TempFolder yahooHelp;
    PointYahooHelpAt(yahooHelp.path());
    const std::string p = personal + "\\";
    const std::string local = values.LocalAppDataFolder + "\\";
    const std::string roaming = values.AppDataFolder + "\\";
    const std::string yahoo = std::string(kYahooProgram) + "\\Messenger\\";
    const std::string profiles = yahooHelp / "Profiles\\";
    const std::vector<std::pair<std::string, std::size_t>> files = {
        {p + "my chat logs\\alice.txt", 10},
        {p + "my chat logs\\2010\\bob.txt", 20},
        {p + "my received files\\photo.jpg", 30},
        {profiles + "top.dat", 45},
        {profiles + "alice\\p.dat", 40},
        {yahoo + "Cache\\c1", 50},
        {yahoo + "Cache\\sub\\c2", 55},
        {yahoo + "logs\\l1", 60},
        {local + "AIM\\Settings\\s1", 70},
        {local + "AIM\\aimx.bin", 80},
        {local + "AIM\\old\\aimx.bin", 85},
        {roaming + "acccore\\caches\\users\\u1", 90},
        {p + "AIMLogger\\log1", 100},
        {p + "AIMLogger\\buddy\\log2", 105},
        {roaming + "ICQ\\Application.qdb", 110},
        {roaming + "ICQ\\123\\Application.qdb", 115},
        {roaming + "ICQ\\123\\Messages.qdb", 120},
        {roaming + "ICQ\\Owner.qdb", 130},
        {p + "ICQ\\ReceivedFiles\\f1", 140},
        {p + "ICQ\\123\\receivedFILES\\deep\\f2", 145},
        {p + "ICQ\\ReceivedFiles2\\f3", 150},
        {p + "ICQ\\Other\\f4", 155},
    };
    for (const auto& [file, bytes] : files) {
        Seed(file, bytes);
    }
    const std::vector<std::string> icqApplication = {roaming + "ICQ\\123\\Application.qdb",
                                                     roaming + "ICQ\\Application.qdb"};
    const std::vector<Case> cases = {
        {"msnchat",
         {p + "my chat logs\\2010\\bob.txt", p + "my chat logs\\alice.txt"},
         10 + 10000,
         0},
        {"msnfiles", {p + "my received files\\photo.jpg"}, 30 + 10000, 0},
        {"yahoopage", {}, 0, 2},
        {"yahooprofiles", {profiles + "alice\\p.dat", profiles + "top.dat"}, 45 + 10000, 5},
        {"yahoofiles", {yahoo + "Cache\\c1", yahoo + "Cache\\sub\\c2"}, 50 + 10000, 0},
        {"yahoologs", {yahoo + "logs\\l1"}, 60 + 10000, 0},
        {"aolsettings", {local + "AIM\\Settings\\s1"}, 70 + 10000, 0},
        {"aolnames", {local + "AIM\\aimx.bin"}, 80, 0},
        {"aolpassword", {local + "AIM\\aimx.bin"}, 80, 0},
        {"aolbuddy", {roaming + "acccore\\caches\\users\\u1"}, 90 + 10000, 0},
        {"aollogs", {p + "AIMLogger\\buddy\\log2", p + "AIMLogger\\log1"}, 100 + 10000, 0},
        {"icqsign", icqApplication, 110 + 10000, 0},
        // Only files directly in the ICQ folder are counted; the deeper one still goes.
        {"icquser", {roaming + "ICQ\\123\\Messages.qdb"}, 10000, 0},
        {"icqcontact", {roaming + "ICQ\\Owner.qdb"}, 130 + 10000, 0},
        {"icqaccount", icqApplication, 110 + 10000, 0},
        // Every "ReceivedFiles" folder in any letter case at any depth goes whole; only the one
        // directly below the ICQ folder is counted.
        {"icqfiles",
         {p + "ICQ\\123\\receivedFILES\\deep\\f2", p + "ICQ\\ReceivedFiles\\f1"},
         140 + 10000,
         0},
        {"icqsearch", {}, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        Reseed();
        RunOnly("Messenger", c.key);
        EXPECT_EQ(Gone(), Sorted(c.gone));
        EXPECT_EQ(result.bytes, c.bytes);
        EXPECT_EQ(result.registryKeys, c.registryKeys);
        ExpectOneDoneRow();
    }
    // The chat-log walk keeps the folders; the received-files folders themselves go.
    EXPECT_TRUE(test::FolderExists(p + "my chat logs\\2010"));
    RunOnly("Messenger", "icqfiles");
    EXPECT_FALSE(test::FolderExists(p + "ICQ\\ReceivedFiles"));
    EXPECT_FALSE(test::FolderExists(p + "ICQ\\123\\receivedFILES"));
    EXPECT_TRUE(test::FolderExists(p + "ICQ\\123"));
}

// Both items of a pair that erase the same file show "Done"; the second finds nothing.
TEST_F(MessengersTest, TwoItemsOfOneFileTakeItOnce) {
    Seed(values.LocalAppDataFolder + "\\AIM\\aimx.bin", 80);
    Tick("Messenger", "aolnames");
    Tick("Messenger", "aolpassword");
    Run();
    EXPECT_EQ(result.bytes, 80);
    ASSERT_EQ(ui.rows.size(), 3u);
    EXPECT_EQ(ui.rows[0].status, "Done");
    EXPECT_EQ(ui.rows[1].status, "Done");
}

// The registry items: named values, the profiles tree, and a history key deleted by name.
TEST_F(MessengersTest, RegistryItemsRemoveTheirValuesAndKeysAndCountEvenWhenMissing) {
    test::SetRegText(kPager, "Yahoo! User ID", "alice");
    test::SetRegText(kPager, "Auto Login", "1");
    test::SetRegText(kPager, "Window Position", "stays");
    test::SetRegText(std::string(kPager) + "\\profiles\\alice\\Archive", "x", "1");
    test::SetRegText(kIcqToolbar, "1", "search words");
    for (const char* key : {"yahoopage", "yahooprofiles", "icqsearch"}) {
        Tick("Messenger", key);
    }
    Run();
    EXPECT_FALSE(test::RegValueExists(kPager, "Yahoo! User ID"));
    EXPECT_FALSE(test::RegValueExists(kPager, "Auto Login"));
    EXPECT_TRUE(test::RegValueExists(kPager, "Window Position"));
    EXPECT_FALSE(test::RegKeyExists(std::string(kPager) + "\\profiles"));
    EXPECT_FALSE(test::RegKeyExists(kIcqToolbar));
    EXPECT_EQ(result.registryKeys, 2 + 5 + 3);
    // Without the Yahoo! type library the profile folder is unknown: nothing is deleted, and the
    // walk of a folder it cannot name counts its constant part only.
    EXPECT_EQ(result.bytes, 10000);

    // The history key stays while it has a sub-key; nothing is left to find the second time, and
    // every count is added all the same.
    test::SetRegText(kIcqToolbar + std::string("\\Old"), "1", "older words");
    Run();
    EXPECT_TRUE(test::RegKeyExists(kIcqToolbar + std::string("\\Old")));
    EXPECT_EQ(result.registryKeys, 2 + 5 + 3);
    ASSERT_EQ(ui.rows.size(), 4u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(ui.rows[i].status, "Done") << ui.rows[i].label;
    }
}

}  // namespace
}  // namespace hm
