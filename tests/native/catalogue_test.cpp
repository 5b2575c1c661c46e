// Loads the whole item catalogue and checks every definition the way the pass, the clean-items
// dialog and the command line rely on it; then compares selected rows with the published tables.
#include "engine/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <variant>
#include <vector>

namespace hm {
namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string Where(const CatalogueItem& item) {
    return "group " + std::to_string(item.group) + " [" + std::string(item.section) + "] \"" +
           std::string(item.key) + "\" (" + std::string(item.label) + ")";
}

bool IsAsciiAlnum(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](unsigned char c) { return c < 0x80 && std::isalnum(c); });
}

bool IsPrintableAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](unsigned char c) { return c >= 0x20 && c < 0x7f; });
}

// Every way an action names a file-system location or a name inside it.
struct ActionParts {
    const FolderRef* folder = nullptr;
    std::string_view name;  // file name, folder name or extension; empty when the action has none
    const RootKey* root = nullptr;
    std::string_view subKey;
};

ActionParts PartsOf(const Action& action) {
    return std::visit(
        [](const auto& a) {
            ActionParts parts;
            if constexpr (requires { a.folder; }) {
                parts.folder = &a.folder;
            }
            if constexpr (requires { a.file; }) {
                parts.folder = &a.file;
            }
            if constexpr (requires { a.fileName; }) {
                parts.name = a.fileName;
            }
            if constexpr (requires { a.folderName; }) {
                parts.name = a.folderName;
            }
            if constexpr (requires { a.extension; }) {
                parts.name = a.extension;
            }
            if constexpr (requires { a.root; }) {
                parts.root = &a.root;
                parts.subKey = a.subKey;
            }
            return parts;
        },
        action);
}

// A compact text for one action: "files <root> <name>" or "folders <root> <name>", with the root
// written as its base folder and suffix. Other kinds are not used by the rows compared below.
std::string Describe(const Action& action) {
    auto root = [](const FolderRef& f) {
        std::string base;
        switch (f.base) {
            case BaseFolder::AppData:
                base = "AppData";
                break;
            case BaseFolder::LocalAppData:
                base = "LocalAppData";
                break;
            case BaseFolder::NetscapeProfiles:
                base = "Netscape";
                break;
        }
        return base + std::string(f.suffix);
    };
    if (const auto* files = std::get_if<act::DeleteNamedFiles>(&action)) {
        return "files " + root(files->folder) + " " + std::string(files->fileName);
    }
    if (const auto* folders = std::get_if<act::DeleteNamedFolders>(&action)) {
        return "folders " + root(folders->folder) + " " + std::string(folders->folderName);
    }
    return "other #" + std::to_string(action.index());
}

std::vector<std::string> DescribeAll(const CatalogueItem& item) {
    std::vector<std::string> out;
    for (const Action& action : item.actions) {
        out.push_back(Describe(action));
    }
    return out;
}

const CatalogueItem* Find(std::string_view section, std::string_view key) {
    for (const CatalogueItem& item : Catalogue()) {
        if (item.section == section && item.key == key) {
            return &item;
        }
    }
    return nullptr;
}

TEST(CatalogueGroups, FollowThePassOrderWithItsSectionNames) {
    const std::vector<std::string_view> sections = {
        "EXPLORER", "FIREFOX", "Opera",  "Netscape", "AOL",     "MSN",
        "Mozilla",  "Maxthon", "Chrome", "Safari",   "WINDOWS", "Messenger",
        "OFFICE",   "outlook", "mail",   "Custom",   ""};
    const auto& groups = CatalogueGroups();
    ASSERT_EQ(groups.size(), sections.size());
    std::set<std::string> names;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        EXPECT_EQ(groups[i].number, static_cast<int>(i) + 1);
        EXPECT_EQ(groups[i].section, sections[i]) << "group " << i + 1;
        EXPECT_FALSE(groups[i].name.empty()) << "group " << i + 1;
        EXPECT_TRUE(names.insert(std::string(groups[i].name)).second)
            << "display name used twice: " << groups[i].name;
    }
}

// The checks a data-entry mistake in any row would trip: wrong group, missing or doubled key,
// stray blanks, a progress value out of step, a malformed path or name.
TEST(Catalogue, EveryDefinitionIsWellFormed) {
    const auto& items = Catalogue();
    const auto& groups = CatalogueGroups();
    ASSERT_FALSE(items.empty());

    // Groups appear in order, each as one contiguous run, and none is missing.
    std::map<int, int> rowsPerGroup;
    int previousGroup = 0;
    for (const CatalogueItem& item : items) {
        ASSERT_GE(item.group, 1) << Where(item);
        ASSERT_LE(item.group, static_cast<int>(groups.size())) << Where(item);
        EXPECT_TRUE(item.group == previousGroup || item.group == previousGroup + 1)
            << "out of order or skipped a group: " << Where(item);
        previousGroup = item.group;
        ++rowsPerGroup[item.group];
        EXPECT_EQ(item.section, groups[static_cast<std::size_t>(item.group - 1)].section)
            << Where(item);
    }
    const std::map<int, int> expectedRows = {
        {1, 11}, {2, 7},   {3, 9},   {4, 7},   {5, 4},   {6, 4},  {7, 4},  {8, 5}, {9, 6},
        {10, 8}, {11, 27}, {12, 17}, {13, 13}, {14, 10}, {15, 7}, {16, 1}, {17, 1}};
    EXPECT_EQ(rowsPerGroup, expectedRows);

    // Settings rows: plain keys and sections, readable labels, no (section, key) pair twice.
    // The profile-file reader ignores letter case, so "Cache" and "cache" would be one setting.
    std::set<std::pair<std::string, std::string>> settings;
    std::map<std::string, std::vector<std::string>> keysByLabel;
    int settingRows = 0;
    int pluginRows = 0;
    for (const CatalogueItem& item : items) {
        EXPECT_FALSE(item.label.empty()) << Where(item);
        EXPECT_TRUE(IsPrintableAscii(item.label)) << Where(item);
        EXPECT_NE(item.label.front(), ' ') << Where(item);
        EXPECT_NE(item.label.back(), ' ') << Where(item);
        EXPECT_EQ(item.label.find("  "), std::string_view::npos) << Where(item);

        if (item.kind == ItemKind::PluginList) {
            ++pluginRows;
            EXPECT_TRUE(item.section.empty()) << Where(item);
            EXPECT_TRUE(item.key.empty()) << Where(item);
            continue;
        }
        ++settingRows;
        EXPECT_FALSE(item.section.empty()) << Where(item);
        EXPECT_FALSE(item.key.empty()) << Where(item);
        // Letters and digits only: nothing a profile file would read differently ('=', ';', '[').
        EXPECT_TRUE(IsAsciiAlnum(item.section)) << Where(item);
        EXPECT_TRUE(IsAsciiAlnum(item.key)) << Where(item);
        EXPECT_TRUE(settings.emplace(Lower(item.section), Lower(item.key)).second)
            << "setting used twice: " << Where(item);
        keysByLabel[std::string(item.label)].push_back(std::string(item.key));
    }
    EXPECT_EQ(settingRows, 140);
    EXPECT_EQ(pluginRows, 1);
    // Rows share a label only where the product really shows one text for two items.
    for (const auto& [label, keys] : keysByLabel) {
        if (label == "Maxthon information about open pages") {
            EXPECT_EQ(keys, (std::vector<std::string>{"pages", "folder"}));
        } else {
            EXPECT_EQ(keys.size(), 1u) << "label used twice: " << label;
        }
    }

    // The plug-in list closes the pass.
    EXPECT_EQ(items.back().kind, ItemKind::PluginList);
    EXPECT_EQ(items.back().group, 17);

    // Progress only moves forward, stays on the bar, and ends at 80 (custom) then 97 (plug-ins).
    int lastProgress = 0;
    for (const CatalogueItem& item : items) {
        EXPECT_GE(item.progress, 0) << Where(item);
        EXPECT_LE(item.progress, 100) << Where(item);
        if (item.progress != 0) {
            EXPECT_GE(item.progress, lastProgress) << "progress goes back at " << Where(item);
            lastProgress = item.progress;
        }
    }
    ASSERT_GE(items.size(), 2u);
    EXPECT_EQ(items[items.size() - 2].progress, 80);
    EXPECT_EQ(items.back().progress, 97);

    // Only Maxthon's keys are compared as numbers.
    for (const CatalogueItem& item : items) {
        const TickRule expected =
            item.section == "Maxthon" ? TickRule::NumberOne : TickRule::ExactOne;
        EXPECT_EQ(item.tick, expected) << Where(item);
    }

    // A group is built as a whole; a built row does something; a pending row carries nothing
    // (a pending row with actions has simply lost its flag).
    std::map<int, std::set<bool>> builtPerGroup;
    for (const CatalogueItem& item : items) {
        builtPerGroup[item.group].insert(item.built);
        if (item.built) {
            EXPECT_FALSE(item.actions.empty()) << Where(item);
        } else {
            EXPECT_TRUE(item.actions.empty()) << Where(item);
        }
    }
    for (const auto& [group, states] : builtPerGroup) {
        EXPECT_EQ(states.size(), 1u) << "group " << group << " is partly built";
    }

    // Paths and names inside the actions.
    for (const CatalogueItem& item : items) {
        for (const Action& action : item.actions) {
            const ActionParts parts = PartsOf(action);
            if (parts.folder != nullptr) {
                const std::string_view suffix = parts.folder->suffix;
                if (!suffix.empty()) {
                    EXPECT_EQ(suffix.front(), '\\') << Where(item) << ": " << suffix;
                    EXPECT_NE(suffix.back(), '\\') << Where(item) << ": " << suffix;
                }
                EXPECT_EQ(suffix.find("\\\\"), std::string_view::npos) << Where(item);
                EXPECT_EQ(suffix.find('/'), std::string_view::npos) << Where(item);
            }
            if (std::holds_alternative<act::DeleteNamedFiles>(action) ||
                std::holds_alternative<act::DeleteNamedFolders>(action) ||
                std::holds_alternative<act::DeleteNamedFilesInFolder>(action) ||
                std::holds_alternative<act::DeleteFilesByExtension>(action) ||
                std::holds_alternative<act::DeleteFilesByExtensionInFolder>(action)) {
                EXPECT_FALSE(parts.name.empty()) << Where(item);
                EXPECT_EQ(parts.name.find_first_of("\\/*?"), std::string_view::npos)
                    << Where(item) << ": " << parts.name;
            }
            // Folder names and extensions are compared after lower-casing what is on disk.
            if (std::holds_alternative<act::DeleteNamedFolders>(action) ||
                std::holds_alternative<act::DeleteFilesByExtension>(action) ||
                std::holds_alternative<act::DeleteFilesByExtensionInFolder>(action)) {
                EXPECT_EQ(parts.name, Lower(parts.name)) << Where(item);
            }
            if (std::holds_alternative<act::DeleteFilesByExtension>(action) ||
                std::holds_alternative<act::DeleteFilesByExtensionInFolder>(action)) {
                EXPECT_NE(parts.name.front(), '.') << Where(item);
            }
            if (parts.root != nullptr) {
                EXPECT_TRUE(*parts.root == kClassesRoot || *parts.root == kCurrentUser ||
                            *parts.root == kLocalMachine || *parts.root == kUsers)
                    << Where(item);
                EXPECT_FALSE(parts.subKey.empty()) << Where(item);
                if (!parts.subKey.empty()) {
                    EXPECT_NE(parts.subKey.front(), '\\') << Where(item);
                    EXPECT_NE(parts.subKey.back(), '\\') << Where(item);
                }
            }
            if (const auto* add = std::get_if<act::AddToTotals>(&action)) {
                EXPECT_GE(add->registryKeys, 0) << Where(item);
                EXPECT_GE(add->bytes, 0) << Where(item);
                EXPECT_TRUE(add->registryKeys > 0 || add->bytes > 0) << Where(item);
            }
        }
    }
}

// The pass table, key by key, as published: key, then the progress value in brackets if any.
TEST(Catalogue, KeysAndProgressFollowThePassTable) {
    const std::vector<std::string> table = {
        R"("location" (5), "history" (6), "cache" (8), "cookies" (10), "favorites" (11),
           "autocomplete" (11), "downloaded" (11), "downloadedhistory" (11), "index",
           "inprivate" (12), "addons" (12))",
        R"("Address" (12), "Cookies" (13), "cache" (14), "History" (15), "Download" (15),
           "bookmarks", "passwords" (16))",
        R"("Address" (17), "Cookies" (18), "cache" (19), "History", "downloads", "Sessions",
           "Images", "Bookmarks", "Passwords" (20))",
        R"("Location" (21), "Cookies" (22), "Cache" (23), "History", "download", "bookmarks",
           "passwords" (24))",
        R"("Address" (25), "cookies" (26), "cache" (27), "history" (28))",
        R"("Location" (29), "cookies" (30), "cache" (31), "history" (32))",
        R"("Address", "Cookies", "cache", "History")",
        R"("keywords", "pages", "settings", "groups", "folder")",
        R"("download", "Cookies", "Cache", "History", "Forms", "Session")",
        R"("History", "pages", "Cache", "Cookies", "download", "Autocomplete", "Images",
           "RecentSearches")",
        R"("recent" (33), "run" (34), "search" (35), "temp" (36), "recycle" (37), "open" (38),
           "scandisk" (39), "passwords" (40), "clip" (41), "wordpad" (41), "paint" (41),
           "picturelocation", "DirectX", "findcomputer", "findfiles", "mapnetwork",
           "management", "notification", "registryeditor", "searchfolders" (41), "menuorder",
           "recentlyused", "thumbs" (42), "streams", "swap" (43), "userassist", "unread")",
        R"("msnchat" (44), "msnfiles", "yahoopage" (45), "yahooprofiles", "yahoofiles",
           "yahoologs", "aolsettings" (46), "aolnames", "aolpassword", "aolbuddy",
           "aollogs" (47), "icqsign", "icquser", "icqcontact", "icqaccount", "icqfiles",
           "icqsearch" (48))",
        R"("word" (49), "excel" (50), "Powerpoint" (51), "FrontPage" (52), "Access",
           "Publisher", "InfoPath", "Project" (53), "Visio", "Organizer", "Settings" (54),
           "Picture", "Viewer" (55))",
        R"("address", "accounts" (59), "deleted", "sent" (60), "outbox", "blocked", "created",
           "mailrules" (62), "newsrules", "signatures")",
        R"("Recently" (64), "Signatures", "Block" (65), "Safe", "mailrules" (67),
           "newsrules" (69), "accounts" (70))",
        R"("Custom" (80))",
    };

    // "key" (n) -> group, key, progress.
    std::vector<std::tuple<int, std::string, int>> expected;
    for (std::size_t g = 0; g < table.size(); ++g) {
        std::istringstream in(table[g]);
        std::string token;
        while (in >> token) {
            if (token.front() == '"') {
                const std::size_t close = token.find('"', 1);
                ASSERT_NE(close, std::string::npos) << token;
                expected.emplace_back(static_cast<int>(g) + 1, token.substr(1, close - 1), 0);
            } else if (token.front() == '(') {
                ASSERT_FALSE(expected.empty());
                std::get<2>(expected.back()) = std::stoi(token.substr(1));
            }
        }
    }
    ASSERT_EQ(expected.size(), 140u);

    std::vector<std::tuple<int, std::string, int>> actual;
    for (const CatalogueItem& item : Catalogue()) {
        if (item.kind == ItemKind::Setting) {
            actual.emplace_back(item.group, std::string(item.key), item.progress);
        }
    }
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i], expected[i]) << "pass position " << i + 1;
    }
}

TEST(Catalogue, LabelsKeepTheirPublishedQuirks) {
    struct Case {
        std::string_view section, key, label;
    };
    const Case cases[] = {
        // "folder" shares the open-pages label rather than naming the download folder.
        {"Maxthon", "pages", "Maxthon information about open pages"},
        {"Maxthon", "folder", "Maxthon information about open pages"},
        {"Maxthon", "keywords", "Maxthon Typed Urls"},
        // An ICQ key with an AOL label.
        {"Messenger", "icqsign", "AOL Messenger Sign in history"},
        // Small first letters, and one capital in the middle.
        {"outlook", "address", "outlook express address book"},
        {"outlook", "accounts", "outlook express Accounts"},
        {"outlook", "created", "outlook express history of Outlook folders you created"},
        {"WINDOWS", "swap", "windows swap/paging file"},
        {"WINDOWS", "picturelocation",
         "The custom locations from the picture location drop-down box"},
        // The pass label differs from the dialog caption for these.
        {"EXPLORER", "location", "IE Location Bar History"},
        {"EXPLORER", "downloaded", "IE Downloaded Files(Only IE9)"},
        {"OFFICE", "Organizer", "Clip Organizer"},
        {"OFFICE", "Powerpoint", "Microsoft Powerpoint"},
        {"Chrome", "download", "Chrome download History"},
        {"Safari", "pages", "Safari Information about open pages"},
        {"mail", "mailrules", "Windows Live Mail Mail rules"},
        {"Custom", "Custom", "Custom Item"},
    };
    for (const Case& c : cases) {
        const CatalogueItem* item = Find(c.section, c.key);
        ASSERT_NE(item, nullptr) << c.section << "/" << c.key;
        EXPECT_EQ(item->label, c.label) << c.section << "/" << c.key;
    }
    const CatalogueItem& plugins = Catalogue().back();
    EXPECT_EQ(plugins.label, "Plug-in items");
    EXPECT_FALSE(plugins.built);
}

// The Mozilla-family and Opera tables, every row: label and actions in order.
TEST(Catalogue, MozillaFamilyAndOperaActionsMatchTheirTables) {
    struct Case {
        std::string_view section, key, label;
        std::vector<std::string> actions;
    };
    const std::string ffRoaming = "AppData\\Mozilla\\Firefox\\Profiles";
    const std::string ffLocal = "LocalAppData\\Mozilla\\Firefox\\Profiles";
    const std::string opRoaming = "AppData\\Opera\\Opera";
    const std::string opLocal = "LocalAppData\\Opera\\Opera";
    const std::string ns = "Netscape";
    const std::string mz = "AppData\\Mozilla\\Profiles";
    const std::vector<Case> cases = {
        {"FIREFOX",
         "Address",
         "Firefox Address Bar History",
         {"files " + ffRoaming + " places.sqlite"}},
        {"FIREFOX", "Cookies", "Firefox Cookies", {"files " + ffRoaming + " cookies.sqlite"}},
        // Both cache actions work below the local root, folders first.
        {"FIREFOX",
         "cache",
         "Firefox Cache",
         {"folders " + ffLocal + " cache", "files " + ffLocal + " places.sqlite"}},
        {"FIREFOX", "History", "Firefox History Files", {"files " + ffRoaming + " places.sqlite"}},
        {"FIREFOX",
         "Download",
         "Firefox Download Manager History",
         {"files " + ffRoaming + " downloads.sqlite"}},
        {"FIREFOX",
         "bookmarks",
         "Firefox Bookmarks Files",
         {"files " + ffRoaming + " places.sqlite"}},
        {"FIREFOX", "passwords", "Firefox Saved Passwords", {"files " + ffRoaming + " key3.db"}},

        {"Opera",
         "Address",
         "Opera Address Bar History",
         {"files " + opRoaming + " typed_history.xml"}},
        {"Opera", "Cookies", "Opera Cookies", {"files " + opRoaming + " cookies4.dat"}},
        {"Opera", "cache", "Opera Cache", {"folders " + opLocal + " cache"}},
        {"Opera", "History", "Opera History Files", {"files " + opRoaming + " global_history.dat"}},
        {"Opera", "downloads", "Opera Download History", {"files " + opRoaming + " download.dat"}},
        {"Opera", "Sessions", "Opera Sessions Files", {"folders " + opRoaming + " sessions"}},
        // Site images live below the local root, like the cache.
        {"Opera", "Images", "Opera Site Image Files", {"folders " + opLocal + " thumbnails"}},
        {"Opera", "Bookmarks", "Opera Bookmarks", {"files " + opRoaming + " bookmarks.adr"}},
        {"Opera", "Passwords", "Opera Passwords", {"files " + opRoaming + " wand.dat"}},

        {"Netscape", "Location", "Netscape Address Bar History", {"files " + ns + " history.dat"}},
        {"Netscape", "Cookies", "Netscape Cookies", {"files " + ns + " cookies.txt"}},
        // Folders first here; the Mozilla suite runs the same pair the other way round.
        {"Netscape",
         "Cache",
         "Netscape Cache",
         {"folders " + ns + " cache", "files " + ns + " localstore.rdf"}},
        {"Netscape", "History", "Netscape History Files", {"files " + ns + " history.dat"}},
        {"Netscape",
         "download",
         "Netscape Download Manager History",
         {"files " + ns + " downloads.rdf"}},
        {"Netscape", "bookmarks", "Netscape Bookmarks", {"files " + ns + " bookmarks.html"}},
        {"Netscape",
         "passwords",
         "Netscape Saved Passwords",
         {"files " + ns + " signons2.txt", "files " + ns + " signons.txt"}},

        {"Mozilla", "Address", "Mozilla Address Bar History", {"files " + mz + " history.dat"}},
        {"Mozilla", "Cookies", "Mozilla Cookies", {"files " + mz + " cookies.txt"}},
        {"Mozilla",
         "cache",
         "Mozilla Cache",
         {"files " + mz + " localstore.rdf", "folders " + mz + " cache"}},
        {"Mozilla", "History", "Mozilla History Files", {"files " + mz + " history.dat"}},
    };

    std::size_t builtRows = 0;
    for (const Case& c : cases) {
        const CatalogueItem* item = Find(c.section, c.key);
        ASSERT_NE(item, nullptr) << c.section << "/" << c.key;
        EXPECT_TRUE(item->built) << c.section << "/" << c.key;
        EXPECT_EQ(item->label, c.label) << c.section << "/" << c.key;
        EXPECT_EQ(DescribeAll(*item), c.actions) << c.section << "/" << c.key;
        ++builtRows;
    }
    // Every row of the four groups was compared: none slipped in beside the tables.
    std::size_t rowsInGroups = 0;
    for (const CatalogueItem& item : Catalogue()) {
        if (item.group == 2 || item.group == 3 || item.group == 4 || item.group == 7) {
            ++rowsInGroups;
        }
    }
    EXPECT_EQ(rowsInGroups, builtRows);
}

}  // namespace
}  // namespace hm
