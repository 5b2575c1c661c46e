// Loads the whole item catalogue and checks every definition the way the pass, the clean-items
// dialog and the command line rely on it; then compares selected rows with the published tables.
#include "engine/catalogue.h"
#include "platform/path_rules.h"

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

TEST(CatalogueGroups, FollowThePassOrderWithItsSectionNames) {
    const std::vector<std::string_view> sections = {
        "EXPLORER", "FIREFOX", "Opera",  "Netscape", "AOL",     "MSN",
        "Mozilla",  "Maxthon", "Chrome", "Safari",   "WINDOWS", "Messenger",
        "OFFICE",   "outlook", "mail",   "Custom",   "",
        "Today.Firefox", "Today.Chrome", "Today.Edge", "Today.Brave", "Today.Vivaldi",
        "Today.Opera", "Today.OperaGX", "Today.Chromium"};
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
        {10, 8}, {11, 27}, {12, 17}, {13, 13}, {14, 10}, {15, 7}, {16, 1}, {17, 1},
        {18, 8}, {19, 8},  {20, 8},  {21, 8},  {22, 8},  {23, 8}, {24, 8}, {25, 8}};
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
        // Letters and digits only (and a dot between words in a section): nothing a profile
        // file would read differently ('=', ';', '[').
        const std::string_view section = item.section;
        const std::size_t dot = section.find('.');
        EXPECT_TRUE(dot == std::string_view::npos
                        ? IsAsciiAlnum(section)
                        : dot > 0 && IsAsciiAlnum(section.substr(0, dot)) &&
                              IsAsciiAlnum(section.substr(dot + 1)))
            << Where(item);
        EXPECT_TRUE(IsAsciiAlnum(item.key)) << Where(item);
        EXPECT_TRUE(settings.emplace(Lower(item.section), Lower(item.key)).second)
            << "setting used twice: " << Where(item);
        keysByLabel[std::string(item.label)].push_back(std::string(item.key));
    }
    EXPECT_EQ(settingRows, 204);
    EXPECT_EQ(pluginRows, 1);
    // Rows share a label only where the product really shows one text for two items.
    for (const auto& [label, keys] : keysByLabel) {
        if (label == "Maxthon information about open pages") {
            EXPECT_EQ(keys, (std::vector<std::string>{"pages", "folder"}));
        } else {
            EXPECT_EQ(keys.size(), 1u) << "label used twice: " << label;
        }
    }

    // The plug-in list closes the groups of old; today's browsers follow it.
    const auto plugins = std::find_if(items.begin(), items.end(), [](const CatalogueItem& item) {
        return item.kind == ItemKind::PluginList;
    });
    ASSERT_NE(plugins, items.end());
    EXPECT_EQ(plugins->group, 17);
    EXPECT_TRUE(std::all_of(plugins + 1, items.end(),
                            [](const CatalogueItem& item) { return item.group > 17; }));

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
    ASSERT_NE(plugins, items.begin());
    EXPECT_EQ((plugins - 1)->progress, 80);
    EXPECT_EQ(plugins->progress, 97);

    // Only Maxthon's keys are compared as numbers.
    for (const CatalogueItem& item : items) {
        const TickRule expected =
            item.section == "Maxthon" ? TickRule::NumberOne : TickRule::ExactOne;
        EXPECT_EQ(item.tick, expected) << Where(item);
    }

    // Every settings row has its own box in the dialog: a named check box with a caption, on one
    // of the dialog's tabs, in a frame, at a place of its own there.
    const std::set<std::string_view> tabs = {"Browsers",    "Windows",           "Microsoft Office",
                                             "Applications", "Custom Item",       "Instant Messaging",
                                             "Email Readers",     kTodaysBrowsersTab};
    std::set<std::string_view> controls;
    std::set<std::tuple<std::string_view, std::string_view, int>> places;
    for (const CatalogueItem& item : items) {
        EXPECT_EQ(tabs.count(item.box.tab), 1u) << Where(item);
        if (item.kind != ItemKind::Setting) {
            continue;
        }
        EXPECT_EQ(item.box.subTab.empty(),
                  item.box.tab != "Browsers" && item.box.tab != kTodaysBrowsersTab)
            << Where(item);
        EXPECT_FALSE(item.box.frame.empty()) << Where(item);
        EXPECT_FALSE(item.box.caption.empty()) << Where(item);
        EXPECT_TRUE(IsPrintableAscii(item.box.caption)) << Where(item);
        EXPECT_EQ(item.box.control.rfind("Check", 0), 0u) << Where(item);
        EXPECT_TRUE(IsAsciiAlnum(item.box.control)) << Where(item);
        EXPECT_TRUE(controls.insert(item.box.control).second)
            << "check box used twice: " << Where(item);
        EXPECT_TRUE(places.emplace(item.box.frame, item.box.subTab, item.box.position).second)
            << "two boxes at one place: " << Where(item);
    }

    // Paths and names inside the actions.
    for (const CatalogueItem& item : items) {
        for (const Action& action : item.actions) {
            const ActionParts parts = PartsOf(action);
            if (parts.folder != nullptr) {
                const std::string_view suffix = parts.folder->suffix;
                if (parts.folder->base == BaseFolder::None) {
                    // A whole path; a step that works in no folder leaves it empty.
                    EXPECT_TRUE(suffix.empty() || IsAbsolutePath(suffix)) << Where(item);
                } else if (!suffix.empty()) {
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
            if (const auto* step = std::get_if<act::Step>(&action)) {
                for (const std::string_view arg : step->args) {
                    EXPECT_FALSE(arg.empty()) << Where(item);
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

}  // namespace
}  // namespace hm
