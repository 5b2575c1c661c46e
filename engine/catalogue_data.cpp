// The built-in cleaning items as data, in the order the pass walks them. Keys and sections are
// spelled as the pass reads them from hushsd.dat (the dialog spells a few of them in another
// letter case; the profile-file reader ignores case, so both reach the same value). Labels are the
// texts of the result-list rows and are shown exactly as written here, odd case and all.
//
// Groups whose actions are not written yet carry built = false and no actions; the pass skips them.
#include "engine/catalogue.h"

#include <initializer_list>
#include <utility>

namespace hm {
namespace {

// Profile roots of the Mozilla-family and Opera browsers. Every operation on them walks the whole
// tree below the root, so each profile is reached whatever its generated folder name.
constexpr FolderRef kFirefoxRoaming{BaseFolder::AppData, "\\Mozilla\\Firefox\\Profiles"};
constexpr FolderRef kFirefoxLocal{BaseFolder::LocalAppData, "\\Mozilla\\Firefox\\Profiles"};
constexpr FolderRef kOperaRoaming{BaseFolder::AppData, "\\Opera\\Opera"};
constexpr FolderRef kOperaLocal{BaseFolder::LocalAppData, "\\Opera\\Opera"};
constexpr FolderRef kNetscape{BaseFolder::NetscapeProfiles, ""};
constexpr FolderRef kMozillaSuite{BaseFolder::AppData, "\\Mozilla\\Profiles"};

Action Files(FolderRef folder, std::string_view fileName) {
    return act::DeleteNamedFiles{folder, fileName};
}

// The name must be lower case: the operation lower-cases each folder's name before comparing.
Action Folders(FolderRef folder, std::string_view lowerCaseName) {
    return act::DeleteNamedFolders{folder, lowerCaseName};
}

struct Row {
    std::string_view key;
    std::string_view label;
    int progress = 0;
    std::vector<Action> actions = {};
};

struct GroupRows {
    int group;
    bool built;
    TickRule tick;
    std::initializer_list<Row> rows;
};

void Append(std::vector<CatalogueItem>& items, const GroupRows& rows) {
    const CatalogueGroup& group = CatalogueGroups().at(static_cast<std::size_t>(rows.group - 1));
    for (const Row& row : rows.rows) {
        CatalogueItem item;
        item.group = group.number;
        item.kind = ItemKind::Setting;
        item.section = group.section;
        item.key = row.key;
        item.label = row.label;
        item.progress = row.progress;
        item.tick = rows.tick;
        item.built = rows.built;
        item.actions = row.actions;
        items.push_back(std::move(item));
    }
}

constexpr bool kBuilt = true;
constexpr bool kPending = false;
constexpr TickRule kExact = TickRule::ExactOne;
// Maxthon's keys are compared with the number 1 rather than the text "1".
constexpr TickRule kNumber = TickRule::NumberOne;

std::vector<CatalogueItem> BuildCatalogue() {
    std::vector<CatalogueItem> items;
    items.reserve(141);

    Append(items, {1,
                   kPending,
                   kExact,
                   {
                       {"location", "IE Location Bar History", 5},
                       {"history", "IE Internet History Files", 6},
                       {"cache", "IE Internet Cache", 8},
                       {"cookies", "IE Cookies", 10},
                       {"favorites", "IE Favorites", 11},
                       {"autocomplete", "IE Autocomplete Memory", 11},
                       {"downloaded", "IE Downloaded Files(Only IE9)", 11},
                       {"downloadedhistory", "IE Downloaded History(Only IE9)", 11},
                       {"index", "IE Index.dat Files"},
                       {"inprivate", "IE Inprivate Filter", 12},
                       {"addons", "IE Add-ons Settings", 12},
                   }});

    // "places.sqlite" serves Address, History and bookmarks alike: whichever runs first takes it.
    // The cache item works below the local root only, for both of its actions.
    Append(
        items,
        {2,
         kBuilt,
         kExact,
         {
             {"Address",
              "Firefox Address Bar History",
              12,
              {Files(kFirefoxRoaming, "places.sqlite")}},
             {"Cookies", "Firefox Cookies", 13, {Files(kFirefoxRoaming, "cookies.sqlite")}},
             {"cache",
              "Firefox Cache",
              14,
              {Folders(kFirefoxLocal, "cache"), Files(kFirefoxLocal, "places.sqlite")}},
             {"History", "Firefox History Files", 15, {Files(kFirefoxRoaming, "places.sqlite")}},
             {"Download",
              "Firefox Download Manager History",
              15,
              {Files(kFirefoxRoaming, "downloads.sqlite")}},
             {"bookmarks", "Firefox Bookmarks Files", 0, {Files(kFirefoxRoaming, "places.sqlite")}},
             {"passwords", "Firefox Saved Passwords", 16, {Files(kFirefoxRoaming, "key3.db")}},
         }});

    Append(items,
           {3,
            kBuilt,
            kExact,
            {
                {"Address",
                 "Opera Address Bar History",
                 17,
                 {Files(kOperaRoaming, "typed_history.xml")}},
                {"Cookies", "Opera Cookies", 18, {Files(kOperaRoaming, "cookies4.dat")}},
                {"cache", "Opera Cache", 19, {Folders(kOperaLocal, "cache")}},
                {"History", "Opera History Files", 0, {Files(kOperaRoaming, "global_history.dat")}},
                {"downloads", "Opera Download History", 0, {Files(kOperaRoaming, "download.dat")}},
                {"Sessions", "Opera Sessions Files", 0, {Folders(kOperaRoaming, "sessions")}},
                {"Images", "Opera Site Image Files", 0, {Folders(kOperaLocal, "thumbnails")}},
                {"Bookmarks", "Opera Bookmarks", 0, {Files(kOperaRoaming, "bookmarks.adr")}},
                {"Passwords", "Opera Passwords", 20, {Files(kOperaRoaming, "wand.dat")}},
            }});

    // Netscape clears the cache folders before the file; the Mozilla suite does it the other way.
    Append(items,
           {4,
            kBuilt,
            kExact,
            {
                {"Location", "Netscape Address Bar History", 21, {Files(kNetscape, "history.dat")}},
                {"Cookies", "Netscape Cookies", 22, {Files(kNetscape, "cookies.txt")}},
                {"Cache",
                 "Netscape Cache",
                 23,
                 {Folders(kNetscape, "cache"), Files(kNetscape, "localstore.rdf")}},
                {"History", "Netscape History Files", 0, {Files(kNetscape, "history.dat")}},
                {"download",
                 "Netscape Download Manager History",
                 0,
                 {Files(kNetscape, "downloads.rdf")}},
                {"bookmarks", "Netscape Bookmarks", 0, {Files(kNetscape, "bookmarks.html")}},
                {"passwords",
                 "Netscape Saved Passwords",
                 24,
                 {Files(kNetscape, "signons2.txt"), Files(kNetscape, "signons.txt")}},
            }});

    Append(items, {5,
                   kPending,
                   kExact,
                   {
                       {"Address", "AOL Explorer Address Bar History", 25},
                       {"cookies", "AOL Explorer Cookies", 26},
                       {"cache", "AOL Explorer Cache", 27},
                       {"history", "AOL Explorer History Files", 28},
                   }});

    Append(items, {6,
                   kPending,
                   kExact,
                   {
                       {"Location", "MSN Explorer Address Bar History", 29},
                       {"cookies", "MSN Explorer Cookies", 30},
                       {"cache", "MSN Explorer Cache", 31},
                       {"history", "MSN Explorer History Files", 32},
                   }});

    Append(
        items,
        {7,
         kBuilt,
         kExact,
         {
             {"Address", "Mozilla Address Bar History", 0, {Files(kMozillaSuite, "history.dat")}},
             {"Cookies", "Mozilla Cookies", 0, {Files(kMozillaSuite, "cookies.txt")}},
             {"cache",
              "Mozilla Cache",
              0,
              {Files(kMozillaSuite, "localstore.rdf"), Folders(kMozillaSuite, "cache")}},
             {"History", "Mozilla History Files", 0, {Files(kMozillaSuite, "history.dat")}},
         }});

    // "folder" (the download folder) really does show the open-pages label of "pages".
    Append(items, {8,
                   kPending,
                   kNumber,
                   {
                       {"keywords", "Maxthon Typed Urls"},
                       {"pages", "Maxthon information about open pages"},
                       {"settings", "Maxthon settings"},
                       {"groups", "Maxthon History Files"},
                       {"folder", "Maxthon information about open pages"},
                   }});

    Append(items, {9,
                   kPending,
                   kExact,
                   {
                       {"download", "Chrome download History"},
                       {"Cookies", "Chrome Cookies"},
                       {"Cache", "Chrome Cache"},
                       {"History", "Chrome History"},
                       {"Forms", "Chrome Forms Data/Saved passwords"},
                       {"Session", "Chrome Session"},
                   }});

    Append(items, {10,
                   kPending,
                   kExact,
                   {
                       {"History", "Safari History"},
                       {"pages", "Safari Information about open pages"},
                       {"Cache", "Safari Cache"},
                       {"Cookies", "Safari Cookies"},
                       {"download", "Safari Download information"},
                       {"Autocomplete", "Safari Autocomplete"},
                       {"Images", "Safari Webpage Preview Images"},
                       {"RecentSearches", "Safari Recent Searches"},
                   }});

    Append(items,
           {11,
            kPending,
            kExact,
            {
                {"recent", "Recent Documents History", 33},
                {"run", "Start Menu Run History", 34},
                {"search", "Windows Search History", 35},
                {"temp", "Windows Temp", 36},
                {"recycle", "Recycle Bin", 37},
                {"open", "Open/Save Dialog Box History", 38},
                {"scandisk", "Scandisk Temp Files", 39},
                {"passwords", "Windows Passwords(Only 9X/Me)", 40},
                {"clip", "Windows Clipboard", 41},
                {"wordpad", "Wordpad Recent Files", 41},
                {"paint", "Windows Paint Recent Files", 41},
                {"picturelocation", "The custom locations from the picture location drop-down box"},
                {"DirectX", "DirectX most recent applications"},
                {"findcomputer", "Find computer dialog box"},
                {"findfiles", "Find files dialog box"},
                {"mapnetwork", "Map network drive MRU"},
                {"management", "Microsoft management console recent file list"},
                {"notification", "Past items from the notification area"},
                {"registryeditor", "Registry editor last opened key"},
                {"searchfolders", "Saved search folders from windows vista", 41},
                {"menuorder", "Start menu programs and favorites menu order"},
                {"recentlyused", "The list of most recently used files and folders"},
                {"thumbs", "Thumbs.db", 42},
                {"streams", "Windows explorer streams MRUs"},
                {"swap", "windows swap/paging file", 43},
                {"userassist", "Windows userassist MRUs"},
                {"unread", "Windows unread mail count"},
            }});

    // "icqsign" shows an AOL label; that is the text users see.
    Append(items, {12,
                   kPending,
                   kExact,
                   {
                       {"msnchat", "Windows Live Messenger chat log folder", 44},
                       {"msnfiles", "Windows Live Messenger Received Files folder"},
                       {"yahoopage", "Yahoo! Messenger Page settings", 45},
                       {"yahooprofiles", "Yahoo! Messenger profiles"},
                       {"yahoofiles", "Yahoo! Messenger Temporary Internet Files"},
                       {"yahoologs", "Yahoo! Messenger Log Files"},
                       {"aolsettings", "AOL Instant Messenger settings", 46},
                       {"aolnames", "AOL Instant Messenger Recent screen names"},
                       {"aolpassword", "AOL Messenger user password"},
                       {"aolbuddy", "AOL Information about Buddy list"},
                       {"aollogs", "AOL Messenger logs", 47},
                       {"icqsign", "AOL Messenger Sign in history"},
                       {"icquser", "ICQ User history"},
                       {"icqcontact", "ICQ contact list"},
                       {"icqaccount", "ICQ Account"},
                       {"icqfiles", "ICQ All the files received from the other users"},
                       {"icqsearch", "ICQ Toolbar search history", 48},
                   }});

    Append(items, {13,
                   kPending,
                   kExact,
                   {
                       {"word", "Microsoft Word", 49},
                       {"excel", "Microsoft Excel", 50},
                       {"Powerpoint", "Microsoft Powerpoint", 51},
                       {"FrontPage", "Microsoft FrontPage", 52},
                       {"Access", "Microsoft Access"},
                       {"Publisher", "Microsoft Publisher"},
                       {"InfoPath", "Microsoft InfoPath"},
                       {"Project", "Microsoft Project", 53},
                       {"Visio", "Microsoft Visio"},
                       {"Organizer", "Clip Organizer"},
                       {"Settings", "Microsoft Office Settings", 54},
                       {"Picture", "Microsoft Office Picture Manager"},
                       {"Viewer", "Microsoft Snapshot Viewer", 55},
                   }});

    Append(items, {14,
                   kPending,
                   kExact,
                   {
                       {"address", "outlook express address book"},
                       {"accounts", "outlook express Accounts", 59},
                       {"deleted", "outlook express deleted email"},
                       {"sent", "outlook express sent email", 60},
                       {"outbox", "outlook express outbox email"},
                       {"blocked", "outlook express blocked senders list"},
                       {"created", "outlook express history of Outlook folders you created"},
                       {"mailrules", "outlook express mail rules", 62},
                       {"newsrules", "outlook express news rules"},
                       {"signatures", "outlook express signatures"},
                   }});

    Append(items, {15,
                   kPending,
                   kExact,
                   {
                       {"Recently", "Windows Live Mail Recently", 64},
                       {"Signatures", "Windows Live Mail Signatures"},
                       {"Block", "Windows Live Mail Block Senders list", 65},
                       {"Safe", "Windows Live Mail Safe Senders list"},
                       {"mailrules", "Windows Live Mail Mail rules", 67},
                       {"newsrules", "Windows Live Mail news rules", 69},
                       {"accounts", "Windows Live Mail accounts", 70},
                   }});

    Append(items, {16, kPending, kExact, {{"Custom", "Custom Item", 80}}});

    // The plug-in files are not settings keys: one row stands for the whole list, run after the
    // custom items, with the bar set to 97 once the last plug-in has run.
    CatalogueItem plugins;
    plugins.group = 17;
    plugins.kind = ItemKind::PluginList;
    plugins.label = "Plug-in items";
    plugins.progress = 97;
    plugins.built = false;
    items.push_back(std::move(plugins));

    return items;
}

}  // namespace

const std::vector<CatalogueGroup>& CatalogueGroups() {
    static const std::vector<CatalogueGroup> groups = {
        {1, "Internet Explorer", "EXPLORER"},
        {2, "Firefox", "FIREFOX"},
        {3, "Opera", "Opera"},
        {4, "Netscape", "Netscape"},
        {5, "AOL Explorer", "AOL"},
        {6, "MSN Explorer", "MSN"},
        {7, "Mozilla", "Mozilla"},
        {8, "Maxthon", "Maxthon"},
        {9, "Chrome", "Chrome"},
        {10, "Safari", "Safari"},
        {11, "Windows", "WINDOWS"},
        {12, "Messengers", "Messenger"},
        {13, "Office", "OFFICE"},
        {14, "Outlook Express", "outlook"},
        {15, "Windows Live Mail", "mail"},
        {16, "Custom items", "Custom"},
        {17, "Plug-in items", ""},
    };
    return groups;
}

const std::vector<CatalogueItem>& Catalogue() {
    static const std::vector<CatalogueItem> items = BuildCatalogue();
    return items;
}

}  // namespace hm
