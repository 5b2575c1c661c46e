// The instant messenger items.
#include "engine/catalogue_rows.h"

namespace hm {
namespace {

// Yahoo! Messenger's program folder, on drive C: and under this folder name whatever the
// system's program-files folder is; the sub-folder names follow its backslash.
#define YAHOO "C:\\Program Files\\Yahoo!\\Messenger\\"

Action Icq(std::string_view fileName) {
    return act::DeleteNamedFiles{{BaseFolder::AppData, "\\ICQ"}, fileName};
}

}  // namespace

// P (the documents folder) is looked up anew by each item that uses it; so is the Yahoo! help
// folder. Two pairs of items erase the same file: "aolnames" and "aolpassword" both take
// "aimx.bin", "icqsign" and "icqaccount" both take "Application.qdb".
void AppendMessengers(std::vector<CatalogueItem>& items) {
    // "icqsign" shows an AOL label; that is the text users see.
    Append(items, 12,
           {
               {"msnchat",
                "Windows Live Messenger chat log folder",
                44,
                {"Check65", "My Chat Log folder", 0, "Windows Live Messenger"},
                {act::DeleteFolderFiles{{BaseFolder::Personal, "\\my chat logs"}}}},
               {"msnfiles",
                "Windows Live Messenger Received Files folder",
                0,
                {"Check66", "My Received Files folder", 1, "Windows Live Messenger"},
                {act::DeleteFolderFiles{{BaseFolder::Personal, "\\my received files"}}}},
               {"yahoopage",
                "Yahoo! Messenger Page settings",
                45,
                {"Check80", "Page settings", 13, "Yahoo! Messenger"},
                {act::DeleteRegValue{kCurrentUser, "Software\\Yahoo\\pager", "Yahoo! User ID"},
                 act::DeleteRegValue{kCurrentUser, "Software\\Yahoo\\pager", "Auto Login"}}},
               {"yahooprofiles",
                "Yahoo! Messenger profiles",
                0,
                {"Check81", "Reset Yahoo! profiles", 14, "Yahoo! Messenger"},
                {act::DeleteRegTree{kCurrentUser, "Software\\Yahoo\\pager\\profiles"},
                 act::DeleteFolderFiles{{BaseFolder::YahooProfiles, ""}}}},
               {"yahoofiles",
                "Yahoo! Messenger Temporary Internet Files",
                0,
                {"Check82", "Temporary Internet Files", 15, "Yahoo! Messenger"},
                {act::DeleteFolderFiles{{BaseFolder::None, YAHOO "Cache"}}}},
               {"yahoologs",
                "Yahoo! Messenger Log Files",
                0,
                {"Check143", "log Files", 16, "Yahoo! Messenger"},
                {act::DeleteFolderFiles{{BaseFolder::None, YAHOO "logs"}}}},
               {"aolsettings",
                "AOL Instant Messenger settings",
                46,
                {"Check67", "Aol Messenger settings", 2, "AOL Instant Messenger"},
                {act::DeleteFolderFiles{{BaseFolder::LocalAppData, "\\AIM\\Settings"}}}},
               {"aolnames",
                "AOL Instant Messenger Recent screen names",
                0,
                {"Check73", "Recent screen names", 3, "AOL Instant Messenger"},
                {act::DeleteNamedFilesInFolder{{BaseFolder::LocalAppData, "\\AIM"}, "aimx.bin"}}},
               {"aolpassword",
                "AOL Messenger user password",
                0,
                {"Check83", "Aol Messenger user password", 4, "AOL Instant Messenger"},
                {act::DeleteNamedFilesInFolder{{BaseFolder::LocalAppData, "\\AIM"}, "aimx.bin"}}},
               {"aolbuddy",
                "AOL Information about Buddy list",
                0,
                {"Check84", "Information about Buddy list", 5, "AOL Instant Messenger"},
                {act::DeleteFolderFiles{{BaseFolder::AppData, "\\acccore\\caches\\users"}}}},
               {"aollogs",
                "AOL Messenger logs",
                47,
                {"Check85", "Aol Messenger logs", 6, "AOL Instant Messenger"},
                {act::DeleteFolderFiles{{BaseFolder::Personal, "\\AIMLogger"}}}},
               {"icqsign",
                "AOL Messenger Sign in history",
                0,
                {"Check74", "The Sign in history", 7, "ICQ"},
                {Icq("Application.qdb")}},
               {"icquser",
                "ICQ User history",
                0,
                {"Check75", "User history", 8, "ICQ"},
                {Icq("Messages.qdb")}},
               {"icqcontact",
                "ICQ contact list",
                0,
                {"Check76", "Contact lists", 9, "ICQ"},
                {Icq("Owner.qdb")}},
               {"icqaccount",
                "ICQ Account",
                0,
                {"Check77", "ICQ Account", 10, "ICQ"},
                {Icq("Application.qdb")}},
               {"icqfiles",
                "ICQ All the files received from the other users",
                0,
                {"Check79", "Received files", 11, "ICQ"},
                {act::DeleteNamedFolders{{BaseFolder::Personal, "\\ICQ"}, "receivedfiles"}}},
               {"icqsearch",
                "ICQ Toolbar search history",
                48,
                {"Check78", "Toolbar search history", 12, "ICQ"},
                {act::DeleteRegKey{kCurrentUser,
                                   "Software\\Microsoft\\Internet Explorer\\LowRegistry\\ICQ\\"
                                   "ICQToolBar\\History"}}},
           });
}

#undef YAHOO

}  // namespace hm
