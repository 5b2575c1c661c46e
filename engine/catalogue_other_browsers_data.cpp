// The AOL Explorer, MSN Explorer, Maxthon, Chrome and Safari items.
#include "engine/catalogue_rows.h"

namespace hm {
namespace {

// Maxthon keeps its traces below its installation folder, which each item reads anew.
#define MX "\\SharedAccount"

FolderRef Maxthon(std::string_view suffix) {
    return {BaseFolder::MaxthonInstall, suffix};
}

// Chrome's "Default" profile; other profiles are not cleaned.
#define CHROME "\\Google\\Chrome\\User Data\\Default"

FolderRef Chrome(std::string_view suffix) {
    return {BaseFolder::LocalAppData, suffix};
}

// Safari keeps its files in a roaming and a local folder; its items never descend below them.
#define SAFARI "\\Apple Computer\\Safari"

Action Roaming(std::string_view folder, std::string_view fileName) {
    return act::DeleteNamedFilesInFolder{{BaseFolder::AppData, folder}, fileName};
}

Action Local(std::string_view folder, std::string_view fileName) {
    return act::DeleteNamedFilesInFolder{{BaseFolder::LocalAppData, folder}, fileName};
}

}  // namespace

// AOL Explorer works on Internet Explorer's own stores through the same steps, with two
// differences: the address item counts 10 more, and the history item always empties the URL
// history store before (from version 7 on) the browser's own clearing.
void AppendAolExplorer(std::vector<CatalogueItem>& items) {
    Append(items, 5,
           {
               {"Address",
                "AOL Explorer Address Bar History",
                25,
                {"Check51", "Address Bar History", 0},
                {act::Step{
                     StepId::TypedUrls, {}, {"Software\\Microsoft\\Internet Explorer\\TypedURLs"}},
                 act::AddToTotals{10, 0}}},
               {"cookies",
                "AOL Explorer Cookies",
                26,
                {"Check50", "Cookies", 1},
                {act::Step{StepId::CookieSweep, {BaseFolder::ShellCookies, ""}}}},
               {"cache",
                "AOL Explorer Cache",
                27,
                {"Check49", "Cache", 2},
                {act::Step{StepId::IeCache, {BaseFolder::ShellCache, ""}}}},
               {"history",
                "AOL Explorer History Files",
                28,
                {"Check48", "History Files", 3},
                {act::Step{StepId::IeHistory, {}, {"StoreFirst"}}}},
           });
}

// Three of the four MSN Explorer items erase nothing; the cache item still counts a fixed amount.
void AppendMsnExplorer(std::vector<CatalogueItem>& items) {
    Append(
        items, 6,
        {
            {"Location",
             "MSN Explorer Address Bar History",
             29,
             {"Check23", "Address Bar History", 0},
             {act::DeleteRegKey{kCurrentUser, "Software\\Microsoft\\MSN6\\Users"}}},
            {"cookies", "MSN Explorer Cookies", 30, {"Check22", "Cookies", 1}, {act::NoAction{}}},
            {"cache",
             "MSN Explorer Cache",
             31,
             {"Check21", "Cache", 2},
             {act::AddToTotals{0, 500000}}},
            {"history",
             "MSN Explorer History Files",
             32,
             {"Check20", "History Files", 3},
             {act::NoAction{}}},
        });
}

void AppendMaxthon(std::vector<CatalogueItem>& items) {
    // "folder" (the download folder) really does show the open-pages label of "pages".
    Append(items, 8,
           {
               {"keywords",
                "Maxthon Typed Urls",
                0,
                {"Check129", "Typed Urls", 0},
                {act::DeleteIniSection{Maxthon(MX "\\Config\\Config.ini"), "TypedUrls"}}},
               {"pages",
                "Maxthon information about open pages",
                0,
                {"Check130", "Information about open pages", 1},
                {act::DeleteNamedFilesInFolder{Maxthon(MX "\\Data"), "Dynamic.ini"},
                 act::DeleteNamedFilesInFolder{Maxthon(MX "\\Config"), "Config.ini"}}},
               {"settings",
                "Maxthon settings",
                0,
                {"Check131", "Maxthon settings", 2},
                {act::DeleteNamedFilesInFolder{Maxthon(MX "\\Config"), "Config.ini"}}},
               {"groups",
                "Maxthon History Files",
                0,
                {"Check132", "Maxthon History Files", 3},
                {act::DeleteNamedFilesInFolder{Maxthon(MX "\\Data"), "history2.dat"},
                 act::DeleteNamedFilesInFolder{Maxthon(MX "\\Data"), "LastSession.ini"},
                 act::DeleteNamedFilesInFolder{Maxthon(MX "\\Data"), "TmpSession.ini"}}},
               {"folder",
                "Maxthon information about open pages",
                0,
                {"Check134", "Maxthon default save folder", 4},
                {act::ResetFolder{Maxthon(MX "\\Downloads")}}},
           });
}

// The download-history item deletes the same file as the history item: Chrome keeps both in it.
void AppendChrome(std::vector<CatalogueItem>& items) {
    Append(items, 9,
           {
               {"download",
                "Chrome download History",
                0,
                {"Check136", "Download History", 0},
                {act::DeleteNamedFiles{Chrome(CHROME), "History"}}},
               {"Cookies",
                "Chrome Cookies",
                0,
                {"Check137", "Cookies", 1},
                {act::DeleteNamedFiles{Chrome(CHROME), "Cookies"}}},
               {"Cache",
                "Chrome Cache",
                0,
                {"Check138", "Cache", 2},
                {act::DeleteFolderFiles{Chrome(CHROME "\\Cache")}}},
               {"History",
                "Chrome History",
                0,
                {"Check139", "History Files", 3},
                {act::DeleteNamedFiles{Chrome(CHROME), "History"}}},
               {"Forms",
                "Chrome Forms Data/Saved passwords",
                0,
                {"Check141", "Forms Data/Saved passwords", 4},
                {act::DeleteNamedFiles{Chrome(CHROME), "Web Data"}}},
               {"Session",
                "Chrome Session",
                0,
                {"Check142", "Session", 5},
                {act::DeleteNamedFiles{Chrome(CHROME), "Last Session"},
                 act::DeleteNamedFiles{Chrome(CHROME), "Current Session"},
                 act::DeleteNamedFiles{Chrome(CHROME), "Top Sites"}}},
           });
}

void AppendSafari(std::vector<CatalogueItem>& items) {
    Append(
        items, 10,
        {
            {"History",
             "Safari History",
             0,
             {"Check149", "History", 0},
             {act::DeleteFilesInFolder{{BaseFolder::LocalAppData, SAFARI "\\History"}},
              Roaming(SAFARI, "History.plist")}},
            {"pages",
             "Safari Information about open pages",
             0,
             {"Check148", "Information about open pages", 1},
             {Roaming(SAFARI, "LastSession.plist"), Roaming(SAFARI, "TopSites.plist")}},
            {"Cache",
             "Safari Cache",
             0,
             {"Check147", "Cache", 2},
             {Local(SAFARI, "Cache.db"), Local(SAFARI, "WebpageIcons.db")}},
            {"Cookies",
             "Safari Cookies",
             0,
             {"Check146", "Cookies", 3},
             {Roaming(SAFARI "\\Cookies", "Cookies.plist")}},
            {"download",
             "Safari Download information",
             0,
             {"Check144", "Download information", 4},
             {Roaming(SAFARI, "Downloads.plist")}},
            {"Autocomplete",
             "Safari Autocomplete",
             0,
             {"Check150", "Autocomplete", 5},
             {Roaming(SAFARI, "Form Values.plist"),
              Roaming(SAFARI "\\Preferences", "keychain.plist")}},
            {"Images",
             "Safari Webpage Preview Images",
             0,
             {"Check152", "Webpage Previews Image", 7},
             {act::DeleteFilesInFolder{{BaseFolder::LocalAppData, SAFARI "\\Webpage Previews"}}}},
            // The whole preferences file goes, not only the search list inside it.
            {"RecentSearches",
             "Safari Recent Searches",
             0,
             {"Check151", "Recent Searches", 6},
             {Roaming("\\Apple Computer\\Preferences", "com.apple.Safari.plist")}},
        });
}

#undef MX
#undef CHROME
#undef SAFARI

}  // namespace hm
