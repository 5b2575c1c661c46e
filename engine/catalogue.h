// The item catalogue: every built-in cleaning item as one row of data, in pass order. The pass
// walks these rows; the clean-items dialog builds its tabs and boxes from them; the command
// line lists them. Actions are values that the pass interprets through the erase operations,
// or special steps named by an id (engine/steps/step_list.h) with their arguments.
#pragma once

#include <string_view>
#include <variant>
#include <vector>

#include "engine/steps/step_list.h"
#include "platform/regfun.h"

namespace hm {

// Folders that item paths start from; the pass's folder resolver answers them.
enum class BaseFolder {
    None,              // the suffix is the whole path
    AppData,           // the roaming application-data folder
    LocalAppData,      // the local application-data folder
    NetscapeProfiles,  // AppData\Netscape\NSB\Profiles if it exists, else ...\Navigator\Profiles
    UserProfile,       // the USERPROFILE environment variable
    Temp,              // the TEMP environment variable
    WindowsFolder,
    ProgramFolder,     // the folder holding the program
    Personal,          // the documents folder, from the user shell folders
    ShellCache,        // Internet Explorer's cache, from the user shell folders
    ShellCookies,      // the cookie folder, from the user shell folders
    ShellHistory,      // the history folder, from the user shell folders
    ShellFavorites,    // the favorites folder, from the user shell folders
    ShellRecent,       // the recent-documents folder, from the user shell folders
    IeDownloads,       // Internet Explorer's "Default Download Directory"
    Downloads,         // the Downloads known folder, from "Shell Folders"
    MaxthonInstall,    // Maxthon's "InstallLocation" from its uninstall key, as stored
    YahooProfiles,     // Yahoo! Messenger's help folder (its type library's HELPDIR) & "Profiles"
    MailStoreRoot,     // Windows Live Mail's "Store Root", as stored
    // Not folders but registry keys below HKEY_CURRENT_USER, named after the Office version the
    // pass probed: Software\Microsoft\Office\<version> and ...\OfficeProfileWizard\<version>.
    OfficeKeys,
    OfficeWizardKeys,
};

struct FolderRef {
    BaseFolder base = BaseFolder::None;
    std::string_view suffix;  // appended directly; starts with "\" unless the base is None
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
// An item that only shows its row: it erases nothing.
struct NoAction {};
// A special step: its handler does what no single erase operation does.
struct Step {
    StepId id;
    FolderRef folder = {};                // where the step works, when it works in a folder
    std::vector<std::string_view> args = {};  // step-specific texts
};
}  // namespace act

using Action = std::variant<act::DeleteRegKey, act::DeleteRegTree, act::DeleteRegValue,
                            act::DeleteIniSection, act::DeleteFolderFiles, act::DeleteNamedFiles,
                            act::DeleteFilesByExtension, act::DeleteNamedFolders, act::ResetFolder,
                            act::DeleteFilesInFolder, act::DeleteNamedFilesInFolder,
                            act::DeleteFilesByExtensionInFolder, act::AddToTotals, act::NoAction,
                            act::Step>;

// How the pass decides from the settings value whether an item is ticked.
enum class TickRule {
    ExactOne,   // the trimmed value is exactly "1"
    NumberOne,  // the value reads as the number 1 ("1", "01", "1.0"); empty or text: not ticked
};

enum class ItemKind {
    Setting,     // one key of the settings file
    PluginList,  // the ticked plug-in item files, one step each
};

// The clean-items dialog's tab for the browsers of today, one sub-tab each.
inline constexpr std::string_view kTodaysBrowsersTab = "Today's Browsers";

// Where the clean-items dialog shows an item's box.
struct ItemBox {
    std::string_view tab;      // outer tab: "Browsers", "Windows", ...
    std::string_view subTab;   // browser tab: "Firefox", ...; empty outside "Browsers"
    std::string_view frame;    // frame caption: "Mozilla Firefox"
    std::string_view control;  // check-box name: "Check42"
    std::string_view caption;  // check-box caption: "Address Bar History"
    int position = 0;          // orders the boxes of a frame as the dialog lists them
    // The box starts cleared while its key is unset, and ticking it asks the user first: for
    // items that take what the user saved on purpose.
    bool asksFirst = false;
};

struct CatalogueItem {
    int group = 0;                // 1-based position of the group in the pass
    ItemKind kind = ItemKind::Setting;
    std::string_view section;     // settings section as the pass reads it
    std::string_view key;         // settings key as the pass reads it
    std::string_view label;       // status-row label
    int progress = 0;             // progress value set after the block; 0 leaves the bar as it is
    TickRule tick = TickRule::ExactOne;
    ItemBox box;
    std::vector<Action> actions;  // in order

    // A row is built once it has actions; the pass skips the others without a row.
    bool built() const { return !actions.empty(); }
};

struct CatalogueGroup {
    int number;                   // 1.., in pass order
    std::string_view name;        // "Firefox"
    std::string_view section;     // settings section; empty for the plug-in items
    std::string_view tab;         // where the clean-items dialog shows the group
    std::string_view subTab;
    std::string_view frame;       // empty where the rows name their own frames
};

// All built-in items in pass order (group 1 first).
const std::vector<CatalogueItem>& Catalogue();
// The groups in pass order: the 17 of old, then today's browsers.
const std::vector<CatalogueGroup>& CatalogueGroups();

}  // namespace hm
