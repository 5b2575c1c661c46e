#include "engine/chromium_profiles_rules.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/browsers.h"
#include "platform/path_rules.h"

namespace hm::chromium {
namespace {

FolderEntry Folder(const std::string& name, bool hasPreferences = true) {
    return {name, true, false, hasPreferences};
}

std::vector<std::string> Names(const std::vector<Profile>& profiles) {
    std::vector<std::string> names;
    for (const Profile& profile : profiles) {
        names.push_back(profile.folderName + "=" + profile.displayName);
    }
    return names;
}

const char* const kLocalState = R"({
  "browser": {"enabled_labs_experiments": []},
  "profile": {
    "info_cache": {
      "Default": {"name": "Ann", "is_using_default_name": false},
      "Profile 2": {"name": "Work \u00e9"},
      "Profile 10": {"name": ""},
      "Guest Profile": {"name": 7}
    },
    "last_used": "Profile 2"
  }
})";

TEST(ChromiumProfiles, FoldersHoldingPreferencesAreProfiles) {
    struct Case {
        const char* what;
        bool dataFolderHasPreferences;
        std::vector<FolderEntry> entries;
        std::string localState;
        std::vector<std::string> expected;
    };
    FolderEntry link = Folder("Profile 3");
    link.isLink = true;
    const FolderEntry file{"Profile 4", false, false, true};
    const std::vector<Case> cases = {
        {"User Data with its usual neighbours",
         false,
         {Folder("Crashpad", false), Folder("Profile 10"), Folder("ShaderCache", false),
          Folder("Profile 2"), Folder("Default"), Folder("System Profile"), Folder("Guest Profile"),
          Folder("Safe Browsing", false), link, file},
         kLocalState,
         {"Default=Ann", "Profile 2=Work \xC3\xA9", "Profile 10=Profile 10",
          "Guest Profile=Guest Profile", "System Profile=System Profile"}},
        {"Local State that is not JSON",
         false,
         {Folder("Profile 1"), Folder("Default")},
         "{\"profile\": {\"info_cache\": ",
         {"Default=Default", "Profile 1=Profile 1"}},
        {"Local State of another shape",
         false,
         {Folder("Default")},
         R"({"profile": ["Default"]})",
         {"Default=Default"}},
        {"Opera: the data folder is the profile",
         true,
         {Folder("Crash Reports", false), Folder("_side_profiles", false)},
         "",
         {"="}},
        {"nothing yet", false, {}, "", {}},
        {"names no enumeration gives", false, {Folder(".."), Folder(""), Folder("a\\b")}, "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Names(FindProfiles(c.dataFolderHasPreferences, c.entries, c.localState)),
                  c.expected);
    }
}

TEST(ChromiumBookmarks, EveryBookmarkAtAnyDepthAndNothingElse) {
    const std::string file =
        R"({"checksum":"x","roots":{"bookmark_bar":{"type":"folder","children":[)"
        R"({"type":"url","url":"https://a.example/"},{"type":"folder","children":[)"
        R"({"type":"url","name":"with \" and [{","url":"https://b.example/x?q=1"}]}]},)"
        R"("other":{"type":"folder","children":[{"type":"folder","url":"https://no.example/"}]}},)"
        R"("sync_metadata":{"type":"url","url":"https://outside.example/"}})";
    EXPECT_EQ(BookmarkedUrls(file),
              (std::vector<std::string>{"https://a.example/", "https://b.example/x?q=1"}));
    EXPECT_TRUE(BookmarkedUrls("{\"roots\": [").empty());
    EXPECT_TRUE(BookmarkedUrls(std::string(100000, '[')).empty());
    // Brackets inside names do not count as depth.
    const std::string bracketed = R"({"roots":{"x":{"type":"url","name":")" +
                                  std::string(300, '[') + R"(","url":"https://c.example/"}}})";
    EXPECT_EQ(BookmarkedUrls(bracketed), std::vector<std::string>{"https://c.example/"});
}

TEST(BrowsersData, EveryBrowserHasItsOwnKeyAndRelativeFolders) {
    std::set<std::string> keys;
    for (const browsers::ChromiumBrowser& browser : browsers::ChromiumBrowsers()) {
        SCOPED_TRACE(browser.key);
        EXPECT_TRUE(keys.insert(AsciiLower(browser.key)).second);
        for (const char* folder : {browser.dataFolder, browser.localCacheFolder}) {
            if (folder == nullptr) {
                continue;
            }
            const std::string text = folder;
            EXPECT_FALSE(IsAbsolutePath(text));
            EXPECT_NE(text.front(), '\\');
            EXPECT_NE(text.back(), '\\');
            EXPECT_EQ(text.find('/'), std::string::npos);
        }
        // Opera alone keeps its one profile in the data folder and its cache apart from it.
        EXPECT_EQ(browser.localCacheFolder != nullptr,
                  browser.root == browsers::Root::RoamingAppData);
        EXPECT_EQ(FileNameOf(browser.executable).size(), std::string(browser.executable).size());
    }
    EXPECT_EQ(keys.size(), 7u);
}

}  // namespace
}  // namespace hm::chromium
