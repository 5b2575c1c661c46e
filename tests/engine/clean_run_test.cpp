#include "engine/clean_run.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "config/inifun.h"
#include "engine/format_rules.h"
#include "support/recording_ui.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using test::RecordingUi;
using test::TempFolder;

constexpr const char* kClock = "1/2/2026 3:04:05 PM";

class CleanRunTest : public ::testing::Test {
protected:
    CleanRunTest() {
        values.AppDataFolder = home / "Roaming";
        values.LocalAppDataFolder = home / "Local";
        test::MakeFolders(values.AppDataFolder);
        test::MakeFolders(values.LocalAppDataFolder);
    }

    std::string Settings() const { return program / "hushsd.dat"; }
    void Tick(const std::string& section, const std::string& key, const std::string& value = "1") {
        WriteIniValue(Settings(), section, key, value);
    }
    std::string Roaming(const std::string& relative) const {
        return values.AppDataFolder + "\\" + relative;
    }
    std::string Local(const std::string& relative) const {
        return values.LocalAppDataFolder + "\\" + relative;
    }

    void Run(EraseMode mode = EraseMode::Erase) {
        PassSetup setup;
        setup.programFolder = program.path();
        setup.now = [] { return std::string(kClock); };
        setup.mode = mode;
        setup.observer = &ui;
        CleanRun run(ui, values, setup);
        result = run.CleanNow();
    }

    std::vector<std::string> Labels() const {
        std::vector<std::string> labels;
        for (const auto& row : ui.rows) {
            labels.push_back(row.label);
        }
        return labels;
    }

    TempFolder program;
    TempFolder home;
    SharedValues values;
    RecordingUi ui;
    PassResult result;
};

TEST_F(CleanRunTest, NothingTickedEndsWithTheSummaryAndZeroTotals) {
    values.RegistryKeysTotal = 7;  // left over from an earlier pass
    values.BytesReleasedTotal = 9;
    Run();

    ASSERT_EQ(ui.rows.size(), 1u);
    EXPECT_EQ(ui.rows[0].label, "Task complete Successfully!");
    EXPECT_EQ(ui.rows[0].status, "");
    EXPECT_EQ(ui.caption, "Task complete Successfully!");
    EXPECT_EQ(result.start, PassStart::Ran);
    EXPECT_EQ(SummaryOf(result),
              "Task complete Successfully! Cleaned Registry Keys: 0 Released HD Space:0.00MB");
    EXPECT_EQ(ReadIniValue(Settings(), "Options", "lastclean"), kClock);
    EXPECT_EQ(ReadIniValue(Settings(), "Options", "regnum"), "0");
    EXPECT_EQ(ReadIniValue(Settings(), "Options", "filesize"), "0");
    EXPECT_TRUE(result.totalsSaved);
    EXPECT_EQ(ui.begun, 1);
    EXPECT_EQ(ui.ended, 1);
    // A missing settings file ticks nothing, Maxthon included.
    EXPECT_TRUE(ui.notBuilt.empty());
}

TEST_F(CleanRunTest, AGarbledSettingsFileTicksNothingAndThePassGoesOn) {
    std::string garbage;
    unsigned state = 12345;
    for (int i = 0; i < 65536; ++i) {
        state = state * 1103515245u + 12345u;
        garbage.push_back(static_cast<char>(state >> 16));
    }
    // A line that would tick an item, buried in binary noise, must not break anything.
    garbage += "\r\n[FIREFOX]\r\nCookies=1\r\n";
    test::WriteFileText(Settings(), garbage);
    Run();
    EXPECT_EQ(result.start, PassStart::Ran);
    EXPECT_EQ(ui.rows.back().label, "Task complete Successfully!");
}

// A settings file too large to read would make every item read as unticked; the pass says so and
// cleans nothing rather than reporting an empty pass as a success.
TEST_F(CleanRunTest, ASettingsFileTooLargeToReadStopsThePassWithAMessage) {
    test::WriteFileOfSize(Settings(), 5 * 1024 * 1024, '1');
    PassSetup setup;
    setup.programFolder = program.path();
    CleanRun run(ui, values, setup);
    EXPECT_EQ(run.CleanNow().start, PassStart::SettingsTooLarge);
    EXPECT_TRUE(ui.rows.empty());
    EXPECT_EQ(ui.begun, 0);
    ASSERT_EQ(ui.told.size(), 1u);
    EXPECT_NE(ui.told[0].find("Nothing was cleaned"), std::string::npos) << ui.told[0];
    EXPECT_EQ(test::ReadFileText(Settings()).size(), 5u * 1024 * 1024);
}

// Whatever the program writes into its settings file it can read back: a file close to the read
// limit still runs its ticked items, but is not grown past the limit by the pass's totals.
TEST_F(CleanRunTest, ASettingsFileNearTheLimitIsReadButNotGrownPastIt) {
    test::WriteFileOfSize(Roaming("Mozilla\\Firefox\\Profiles\\p\\cookies.sqlite"), 10);
    const std::string ticks = "[FIREFOX]\r\nCookies=1\r\n[Options]\r\n";
    // Short lines ending in a bare line feed: a rewrite turns each into CR LF.
    std::string padding;
    while (padding.size() + ticks.size() < 4 * 1024 * 1024 - 16) {
        padding += "a\n";
    }
    test::WriteFileText(Settings(), ticks + padding);
    const std::string before = test::ReadFileText(Settings());
    Run();
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Firefox Cookies", "Task complete Successfully!"}));
    EXPECT_FALSE(test::FileExists(Roaming("Mozilla\\Firefox\\Profiles\\p\\cookies.sqlite")));
    EXPECT_EQ(test::ReadFileText(Settings()), before);
    ASSERT_EQ(ui.told.size(), 1u);
    EXPECT_NE(ui.told[0].find("not saved"), std::string::npos) << ui.told[0];

    // Just under the size the program still writes to: the totals go in, and the file, grown by
    // the rewrite, still reads.
    padding.resize(2 * 1024 * 1024 - ticks.size() - 64);
    test::WriteFileText(Settings(), ticks + padding);
    ui = RecordingUi();
    Run();
    EXPECT_TRUE(ui.told.empty());
    EXPECT_EQ(ReadIniValue(Settings(), "Options", "lastclean"), kClock);
    EXPECT_EQ(ReadIniValue(Settings(), "FIREFOX", "Cookies"), "1");
}

TEST_F(CleanRunTest, ProgressBarWalksThePassOrderValues) {
    Run();
    const std::vector<int> expected = {5,  6,  8,  10, 11, 11, 11, 11, 12, 12,  // Internet Explorer
                                       12, 13, 14, 15, 15, 16,                  // Firefox
                                       17, 18, 19, 20,                          // Opera
                                       21, 22, 23, 24,                          // Netscape
                                       25, 26, 27, 28,                          // AOL Explorer
                                       29, 30, 31, 32,                          // MSN Explorer
                                       33, 34, 35, 36, 37, 38, 39, 40, 41, 41,
                                       41, 41, 42, 43,              // Windows
                                       44, 45, 46, 47, 48,          // messengers
                                       49, 50, 51, 52, 53, 54, 55,  // Office
                                       59, 60, 62,                  // Outlook Express
                                       64, 65, 67, 69, 70,          // Windows Live Mail
                                       80, 97, 100};
    EXPECT_EQ(ui.progress, expected);
}

TEST_F(CleanRunTest, OnlyTheTextOneTicksAnItem) {
    test::WriteFileOfSize(Roaming("Mozilla\\Firefox\\Profiles\\p1\\places.sqlite"), 10);
    test::WriteFileOfSize(Roaming("Mozilla\\Firefox\\Profiles\\p1\\cookies.sqlite"), 10);
    test::WriteFileOfSize(Roaming("Mozilla\\Firefox\\Profiles\\p1\\key3.db"), 10);
    test::WriteFileOfSize(Roaming("Mozilla\\Firefox\\Profiles\\p1\\downloads.sqlite"), 10);
    Tick("FIREFOX", "Address", "yes");
    Tick("FIREFOX", "History", "true");
    Tick("firefox", "cookies", " 1 ");  // names match without case; blanks are trimmed
    Tick("FIREFOX", "passwords", "1.0");
    Tick("FIREFOX", "Download", "01");
    Run();

    EXPECT_EQ(Labels(),
              (std::vector<std::string>{"Firefox Cookies", "Task complete Successfully!"}));
    EXPECT_EQ(ui.rows[0].status, "Done");
    EXPECT_TRUE(test::FileExists(Roaming("Mozilla\\Firefox\\Profiles\\p1\\places.sqlite")));
    EXPECT_FALSE(test::FileExists(Roaming("Mozilla\\Firefox\\Profiles\\p1\\cookies.sqlite")));
    EXPECT_TRUE(test::FileExists(Roaming("Mozilla\\Firefox\\Profiles\\p1\\key3.db")));
    EXPECT_TRUE(test::FileExists(Roaming("Mozilla\\Firefox\\Profiles\\p1\\downloads.sqlite")));
}

TEST_F(CleanRunTest, FirefoxItemsOnAMachineWithoutFirefox) {
    for (const char* key :
         {"Address", "Cookies", "cache", "History", "Download", "bookmarks", "passwords"}) {
        Tick("FIREFOX", key);
    }
    Run();
    const std::vector<std::string> expected = {"Firefox Address Bar History",
                                               "Firefox Cookies",
                                               "Firefox Cache",
                                               "Firefox History Files",
                                               "Firefox Download Manager History",
                                               "Firefox Bookmarks Files",
                                               "Firefox Saved Passwords",
                                               "Task complete Successfully!"};
    EXPECT_EQ(Labels(), expected);
    for (size_t i = 0; i + 1 < ui.rows.size(); ++i) {
        EXPECT_EQ(ui.rows[i].status, "Done") << ui.rows[i].label;
    }
    // 10000 per recursive action on a missing folder; the cache item has two actions.
    EXPECT_EQ(values.BytesReleasedTotal, 80000);
    EXPECT_EQ(values.RegistryKeysTotal, 0);
    EXPECT_EQ(ReadIniValue(Settings(), "Options", "filesize"), "80000");
}

TEST_F(CleanRunTest, FirefoxProfilesAreReachedAtAnyDepthButOnlyTheRootIsCounted) {
    const std::string root = Roaming("Mozilla\\Firefox\\Profiles");
    test::WriteFileOfSize(root + "\\abc.default\\places.sqlite", 300);
    test::WriteFileOfSize(root + "\\xyz.work\\places.sqlite", 500);
    test::WriteFileOfSize(root + "\\xyz.work\\Places.sqlite.bak", 5);
    test::WriteFileOfSize(root + "\\old\\Places.sqlite", 7);  // other letter case: not a match
    test::WriteFileOfSize(Local("Mozilla\\Firefox\\Profiles\\abc.default\\places.sqlite"), 11);
    Tick("FIREFOX", "Address");
    Tick("FIREFOX", "History");
    Run();

    EXPECT_FALSE(test::FileExists(root + "\\abc.default\\places.sqlite"));
    EXPECT_FALSE(test::FileExists(root + "\\xyz.work\\places.sqlite"));
    EXPECT_TRUE(test::FileExists(root + "\\xyz.work\\Places.sqlite.bak"));
    EXPECT_TRUE(test::FileExists(root + "\\old\\Places.sqlite"));
    // The local profile belongs to the cache item only.
    EXPECT_TRUE(test::FileExists(Local("Mozilla\\Firefox\\Profiles\\abc.default\\places.sqlite")));
    ASSERT_EQ(ui.rows.size(), 3u);
    EXPECT_EQ(ui.rows[1].label, "Firefox History Files");
    EXPECT_EQ(ui.rows[1].status, "Done");
    EXPECT_EQ(values.BytesReleasedTotal, 20000);
}

TEST_F(CleanRunTest, FirefoxCacheWorksBelowTheLocalRoot) {
    const std::string local = Local("Mozilla\\Firefox\\Profiles\\p.default");
    test::WriteFileOfSize(local + "\\Cache\\0\\entry", 100);
    test::WriteFileOfSize(local + "\\cache2\\entry", 100);
    test::WriteFileOfSize(local + "\\places.sqlite", 100);
    test::WriteFileOfSize(Roaming("Mozilla\\Firefox\\Profiles\\p.default\\places.sqlite"), 100);
    test::WriteFileOfSize(Roaming("Mozilla\\Firefox\\Profiles\\p.default\\cache\\keep"), 100);
    Tick("FIREFOX", "cache");
    Run();

    EXPECT_FALSE(test::FolderExists(local + "\\Cache"));  // folder names compare lower-cased
    EXPECT_TRUE(test::FolderExists(local + "\\cache2"));
    EXPECT_FALSE(test::FileExists(local + "\\places.sqlite"));
    EXPECT_TRUE(test::FileExists(Roaming("Mozilla\\Firefox\\Profiles\\p.default\\places.sqlite")));
    EXPECT_TRUE(test::FileExists(Roaming("Mozilla\\Firefox\\Profiles\\p.default\\cache\\keep")));
    EXPECT_EQ(values.BytesReleasedTotal, 20000);
}

TEST_F(CleanRunTest, BytesFoundDirectlyInTheRootAreCounted) {
    test::WriteFileOfSize(Roaming("Opera\\Opera\\cookies4.dat"), 1048576);
    test::WriteFileOfSize(Roaming("Opera\\Opera\\profile\\cookies4.dat"), 4096);
    Tick("OPERA", "Cookies");
    Run();
    EXPECT_EQ(values.BytesReleasedTotal, 1048576 + 10000);
    EXPECT_EQ(SummaryOf(result),
              "Task complete Successfully! Cleaned Registry Keys: 0 Released HD Space:1.01MB");
    EXPECT_FALSE(test::FileExists(Roaming("Opera\\Opera\\profile\\cookies4.dat")));
}

TEST_F(CleanRunTest, OperaSessionsGoAtAnyDepthWithTheirContents) {
    const std::string root = Roaming("Opera\\Opera");
    test::WriteFileOfSize(root + "\\sessions\\autosave.win", 10);
    test::WriteFileOfSize(root + "\\profile\\deep\\Sessions\\a.win", 10);
    test::WriteFileOfSize(root + "\\profile\\sessions.txt", 10);
    test::WriteFileOfSize(Local("Opera\\Opera\\thumbnails\\t.png"), 10);
    test::WriteFileOfSize(Local("Opera\\Opera\\cache\\c.tmp"), 10);
    Tick("Opera", "Sessions");
    Tick("Opera", "Images");
    Run();
    EXPECT_FALSE(test::FolderExists(root + "\\sessions"));
    EXPECT_FALSE(test::FolderExists(root + "\\profile\\deep\\Sessions"));
    EXPECT_TRUE(test::FileExists(root + "\\profile\\sessions.txt"));
    EXPECT_FALSE(test::FolderExists(Local("Opera\\Opera\\thumbnails")));
    EXPECT_TRUE(test::FileExists(Local("Opera\\Opera\\cache\\c.tmp")));  // not ticked
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Opera Sessions Files", "Opera Site Image Files",
                                                  "Task complete Successfully!"}));
}

TEST_F(CleanRunTest, NetscapePrefersTheNsbProfiles) {
    test::WriteFileOfSize(Roaming("Netscape\\NSB\\Profiles\\p\\cookies.txt"), 10);
    test::WriteFileOfSize(Roaming("Netscape\\Navigator\\Profiles\\p\\cookies.txt"), 10);
    Tick("NETSCAPE", "Cookies");
    Run();
    EXPECT_FALSE(test::FileExists(Roaming("Netscape\\NSB\\Profiles\\p\\cookies.txt")));
    EXPECT_TRUE(test::FileExists(Roaming("Netscape\\Navigator\\Profiles\\p\\cookies.txt")));
}

TEST_F(CleanRunTest, NetscapeFallsBackToNavigatorProfiles) {
    test::WriteFileOfSize(Roaming("Netscape\\Navigator\\Profiles\\p\\Cache\\x"), 10);
    test::WriteFileOfSize(Roaming("Netscape\\Navigator\\Profiles\\p\\localstore.rdf"), 10);
    test::WriteFileOfSize(Roaming("Netscape\\Navigator\\Profiles\\p\\signons.txt"), 10);
    test::WriteFileOfSize(Roaming("Netscape\\Navigator\\Profiles\\p\\signons2.txt"), 10);
    Tick("Netscape", "Cache");
    Tick("Netscape", "passwords");
    Run();
    EXPECT_EQ(test::ListTree(Roaming("Netscape\\Navigator\\Profiles")),
              (std::vector<std::string>{"p\\"}));
    EXPECT_EQ(values.BytesReleasedTotal, 40000);
}

TEST_F(CleanRunTest, MozillaSuiteItems) {
    const std::string root = Roaming("Mozilla\\Profiles\\default\\x.slt");
    test::WriteFileOfSize(root + "\\history.dat", 10);
    test::WriteFileOfSize(root + "\\cookies.txt", 10);
    test::WriteFileOfSize(root + "\\Cache\\_CACHE_MAP_", 10);
    test::WriteFileOfSize(root + "\\localstore.rdf", 10);
    for (const char* key : {"Address", "Cookies", "cache", "History"}) {
        Tick("Mozilla", key);
    }
    Run();
    EXPECT_EQ(test::ListTree(Roaming("Mozilla\\Profiles")),
              (std::vector<std::string>{"default\\", "default\\x.slt\\"}));
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Mozilla Address Bar History", "Mozilla Cookies",
                                                  "Mozilla Cache", "Mozilla History Files",
                                                  "Task complete Successfully!"}));
}

TEST_F(CleanRunTest, GroupsRunInPassOrderWhateverTheFileOrder) {
    Tick("Mozilla", "Cookies");
    Tick("NETSCAPE", "Cookies");
    Tick("OPERA", "Cookies");
    Tick("FIREFOX", "Cookies");
    Run();
    EXPECT_EQ(Labels(),
              (std::vector<std::string>{"Firefox Cookies", "Opera Cookies", "Netscape Cookies",
                                        "Mozilla Cookies", "Task complete Successfully!"}));
}

TEST_F(CleanRunTest, ExitOptionEndsTheProgramWithoutStoringTotals) {
    Tick("Options", "lastclean", "earlier");
    Tick("Options", "regnum", "4");
    Tick("Options", "exit", "1");
    Tick("FIREFOX", "Cookies");
    Run();
    EXPECT_TRUE(result.exited);
    EXPECT_FALSE(result.totalsSaved);
    EXPECT_EQ(ui.ended, 0);
    EXPECT_EQ(ui.progress.back(), 97);
    EXPECT_EQ(ReadIniValue(Settings(), "Options", "lastclean"), "earlier");
    EXPECT_EQ(ReadIniValue(Settings(), "Options", "regnum"), "4");
    EXPECT_EQ(Labels(), std::vector<std::string>{"Firefox Cookies"});
}

TEST_F(CleanRunTest, MaxthonTicksOnlyOnTheNumberOne) {
    Tick("Maxthon", "keywords", "1");
    Tick("Maxthon", "pages", "1.0");
    Tick("Maxthon", "settings", "");
    Tick("Maxthon", "groups", "on");
    Tick("Maxthon", "folder", "0");
    Tick("OFFICE", "word");
    Run();
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Maxthon Typed Urls",
                                                  "Maxthon information about open pages",
                                                  "Microsoft Word", "Task complete Successfully!"}));
}

TEST_F(CleanRunTest, TotalsAreReadBackFromTheSettingsFile) {
    test::WriteFileOfSize(Roaming("Mozilla\\Firefox\\Profiles\\key3.db"), 5242880 - 10000);
    Tick("FIREFOX", "passwords");
    Run();
    EXPECT_EQ(ReadIniValue(Settings(), "Options", "filesize"), "5242880");
    SharedValues loaded;
    EXPECT_EQ(LoadLastPassTotals(Settings(), loaded), kClock);
    EXPECT_EQ(loaded.BytesReleasedTotal, 5242880);
    EXPECT_EQ(TotalsLineText(loaded.RegistryKeysTotal, loaded.BytesReleasedTotal),
              "  Cleaned Registry Keys: 0     Released HD Space:5.00MB");
}

TEST_F(CleanRunTest, ARequestDuringAPassDoesNotNest) {
    Tick("FIREFOX", "Cookies");
    PassSetup setup;
    setup.programFolder = program.path();
    setup.now = [] { return std::string(kClock); };
    CleanRun run(ui, values, setup);
    int nested = 0;
    ui.onPump = [&] {
        ++nested;
        EXPECT_EQ(run.CleanNow().start, PassStart::Nested);
    };
    EXPECT_EQ(run.CleanNow().start, PassStart::Ran);
    EXPECT_GT(nested, 0);
    EXPECT_EQ(ui.begun, 1);
    EXPECT_EQ(ui.ended, 1);
    EXPECT_FALSE(run.IsRunning());
}

TEST_F(CleanRunTest, PreviewChangesNothingAndCountsTheSame) {
    const std::string root = Roaming("Mozilla\\Firefox\\Profiles");
    test::WriteFileOfSize(root + "\\cookies.sqlite", 1234);
    test::WriteFileOfSize(root + "\\a\\cookies.sqlite", 99);
    test::WriteFileOfSize(Local("Mozilla\\Firefox\\Profiles\\a\\cache\\x\\y"), 77);
    test::WriteFileOfSize(Roaming("Opera\\Opera\\s\\sessions\\w.win"), 55);
    // Named by three items: the first takes it, the others find nothing, in preview too.
    test::WriteFileOfSize(root + "\\places.sqlite", 500);
    Tick("FIREFOX", "Address");
    Tick("FIREFOX", "History");
    Tick("FIREFOX", "bookmarks");
    Tick("FIREFOX", "Cookies");
    Tick("FIREFOX", "cache");
    Tick("OPERA", "Sessions");
    const std::string settingsBefore = test::ReadFileText(Settings());
    const auto treeBefore = test::ListTree(home.path());

    Run(EraseMode::Preview);
    const double previewBytes = values.BytesReleasedTotal;
    EXPECT_EQ(test::ListTree(home.path()), treeBefore);
    EXPECT_EQ(test::ReadFileText(Settings()), settingsBefore);
    EXPECT_FALSE(result.totalsSaved);
    std::vector<std::string> found;
    for (const Trace& trace : ui.traces) {
        found.push_back(trace.path + "|" + std::to_string(static_cast<long>(trace.bytes)));
    }
    EXPECT_EQ(found.size(), 5u);
    EXPECT_EQ(previewBytes, 500 + 10000 * 3 + 1234 + 10000 + 20000 + 10000);
    EXPECT_NE(std::find(found.begin(), found.end(), root + "\\cookies.sqlite|1234"), found.end());
    EXPECT_NE(std::find(found.begin(), found.end(),
                        Local("Mozilla\\Firefox\\Profiles\\a\\cache") + "|77"),
              found.end());

    ui = RecordingUi();
    Run(EraseMode::Erase);
    EXPECT_EQ(values.BytesReleasedTotal, previewBytes);
    EXPECT_FALSE(test::FileExists(root + "\\a\\cookies.sqlite"));
    EXPECT_FALSE(test::FolderExists(Roaming("Opera\\Opera\\s\\sessions")));
}

}  // namespace
}  // namespace hm
