// The item catalogue: every built-in cleaning item as one row of data, in pass order. The pass
// walks these rows; the clean-items dialog builds its tabs and boxes from them; the command
// line lists them. Actions are values that the pass interprets through the erase operations.
#pragma once

#include <cstdint>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/regfun.h"

namespace hm {

// Folders that item paths start from; resolved by the pass at the start of each item block.
enum class BaseFolder {
    AppData,           // the roaming application-data folder
    LocalAppData,      // the local application-data folder
    NetscapeProfiles,  // AppData\Netscape\NSB\Profiles if it exists, else ...\Navigator\Profiles
};

struct FolderRef {
    BaseFolder base = BaseFolder::AppData;
    std::string_view suffix;  // appended directly; starts with "\" or is empty
};

namespace act {
struct DeleteRegKey { RootKey root; std::string_view subKey; };
struct DeleteRegTree { RootKey root; std::string_view subKey; };
struct DeleteRegValue { RootKey root; std::string_view subKey; std::string_view value; };
struct DeleteIniSection { FolderRef file; std::string_view section; };
struct DeleteFolderFiles { FolderRef folder; };
struct DeleteNamedFiles { FolderRef folder; std::string_view fileName; };
struct DeleteFilesByExtension { FolderRef folder; std::string_view extension; };
struct DeleteNamedFolders { FolderRef folder; std::string_view folderName; };
struct ResetFolder { FolderRef folder; };
struct DeleteFilesInFolder { FolderRef folder; };
struct DeleteNamedFilesInFolder { FolderRef folder; std::string_view fileName; };
struct DeleteFilesByExtensionInFolder { FolderRef folder; std::string_view extension; };
// Fixed amounts some items add to the pass counters.
struct AddToTotals { double registryKeys; double bytes; };
}  // namespace act

using Action = std::variant<act::DeleteRegKey, act::DeleteRegTree, act::DeleteRegValue,
                            act::DeleteIniSection, act::DeleteFolderFiles, act::DeleteNamedFiles,
                            act::DeleteFilesByExtension, act::DeleteNamedFolders, act::ResetFolder,
                            act::DeleteFilesInFolder, act::DeleteNamedFilesInFolder,
                            act::DeleteFilesByExtensionInFolder, act::AddToTotals>;

// How the pass decides from the settings value whether an item is ticked.
enum class TickRule {
    ExactOne,   // the trimmed value is exactly "1"
    NumberOne,  // the value reads as the number 1 ("1", "01", "1.0"); empty or text: not ticked
};

enum class ItemKind {
    Setting,     // one key of the settings file
    PluginList,  // the ticked plug-in item files, one step each
};

struct CatalogueItem {
    int group = 0;                // 1-based position of the group in the pass
    ItemKind kind = ItemKind::Setting;
    std::string_view section;     // settings section as the pass reads it
    std::string_view key;         // settings key as the pass reads it
    std::string_view label;       // status-row label
    int progress = 0;             // progress value set after the block; 0 leaves the bar as it is
    TickRule tick = TickRule::ExactOne;
    bool built = false;           // false: the group's actions do not exist yet; the pass skips it
    std::vector<Action> actions;  // in order
};

struct CatalogueGroup {
    int number;                   // 1..17
    std::string_view name;        // "Firefox"
    std::string_view section;     // settings section; empty for the plug-in items
};

// All built-in items in pass order (group 1 first).
const std::vector<CatalogueItem>& Catalogue();
// The 17 groups in pass order.
const std::vector<CatalogueGroup>& CatalogueGroups();

}  // namespace hm
