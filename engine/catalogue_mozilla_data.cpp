// The Mozilla-family and Opera browser items: every trace is a whole file or folder below a
// profile root.
#include "engine/catalogue_rows.h"

namespace hm {
namespace {

// Profile roots. Every operation on them walks the whole tree below the root, so each profile is
// reached whatever its generated folder name.
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

}  // namespace

void AppendFirefox(std::vector<CatalogueItem>& items) {
    // "places.sqlite" serves Address, History and bookmarks alike: whichever runs first takes it.
    // The cache item works below the local root only, for both of its actions.
    Append(items, 2,
           {
               {"Address",
                "Firefox Address Bar History",
                12,
                {"Check42", "Address Bar History", 0},
                {Files(kFirefoxRoaming, "places.sqlite")}},
               {"Cookies",
                "Firefox Cookies",
                13,
                {"Check43", "Cookies", 1},
                {Files(kFirefoxRoaming, "cookies.sqlite")}},
               {"cache",
                "Firefox Cache",
                14,
                {"Check44", "Cache", 2},
                {Folders(kFirefoxLocal, "cache"), Files(kFirefoxLocal, "places.sqlite")}},
               {"History",
                "Firefox History Files",
                15,
                {"Check45", "History Files", 3},
                {Files(kFirefoxRoaming, "places.sqlite")}},
               {"Download",
                "Firefox Download Manager History",
                15,
                {"Check53", "Download Manager History", 4},
                {Files(kFirefoxRoaming, "downloads.sqlite")}},
               {"bookmarks",
                "Firefox Bookmarks Files",
                0,
                {"Check55", "Bookmarks", 5},
                {Files(kFirefoxRoaming, "places.sqlite")}},
               {"passwords",
                "Firefox Saved Passwords",
                16,
                {"Check56", "Saved Passwords", 6},
                {Files(kFirefoxRoaming, "key3.db")}},
           });
}

void AppendOpera(std::vector<CatalogueItem>& items) {
    Append(
        items, 3,
        {
            {"Address",
             "Opera Address Bar History",
             17,
             {"Check8", "Address Bar History", 0},
             {Files(kOperaRoaming, "typed_history.xml")}},
            {"Cookies",
             "Opera Cookies",
             18,
             {"Check10", "Cookies", 1},
             {Files(kOperaRoaming, "cookies4.dat")}},
            {"cache", "Opera Cache", 19, {"Check11", "Cache", 2}, {Folders(kOperaLocal, "cache")}},
            {"History",
             "Opera History Files",
             0,
             {"Check12", "History Files", 3},
             {Files(kOperaRoaming, "global_history.dat")}},
            {"downloads",
             "Opera Download History",
             0,
             {"Check57", "Downloads History", 4},
             {Files(kOperaRoaming, "download.dat")}},
            {"Sessions",
             "Opera Sessions Files",
             0,
             {"Check58", "Sessions", 5},
             {Folders(kOperaRoaming, "sessions")}},
            {"Images",
             "Opera Site Image Files",
             0,
             {"Check59", "Site Images", 6},
             {Folders(kOperaLocal, "thumbnails")}},
            {"Bookmarks",
             "Opera Bookmarks",
             0,
             {"Check60", "Bookmarks", 7},
             {Files(kOperaRoaming, "bookmarks.adr")}},
            {"Passwords",
             "Opera Passwords",
             20,
             {"Check61", "Saved Passwords", 8},
             {Files(kOperaRoaming, "wand.dat")}},
        });
}

void AppendNetscape(std::vector<CatalogueItem>& items) {
    // Netscape clears the cache folders before the file; the Mozilla suite does it the other way.
    Append(items, 4,
           {
               {"Location",
                "Netscape Address Bar History",
                21,
                {"Check18", "Address Bar History", 0},
                {Files(kNetscape, "history.dat")}},
               {"Cookies",
                "Netscape Cookies",
                22,
                {"Check17", "Cookies", 1},
                {Files(kNetscape, "cookies.txt")}},
               {"Cache",
                "Netscape Cache",
                23,
                {"Check16", "Cache", 2},
                {Folders(kNetscape, "cache"), Files(kNetscape, "localstore.rdf")}},
               {"History",
                "Netscape History Files",
                0,
                {"Check15", "History files", 3},
                {Files(kNetscape, "history.dat")}},
               {"download",
                "Netscape Download Manager History",
                0,
                {"Check64", "Download Manager History", 4},
                {Files(kNetscape, "downloads.rdf")}},
               {"bookmarks",
                "Netscape Bookmarks",
                0,
                {"Check63", "Bookmarks", 5},
                {Files(kNetscape, "bookmarks.html")}},
               {"passwords",
                "Netscape Saved Passwords",
                24,
                {"Check62", "Saved Passwords", 6},
                {Files(kNetscape, "signons2.txt"), Files(kNetscape, "signons.txt")}},
           });
}

void AppendMozillaSuite(std::vector<CatalogueItem>& items) {
    Append(items, 7,
           {
               {"Address",
                "Mozilla Address Bar History",
                0,
                {"Check72", "Address Bar History", 0},
                {Files(kMozillaSuite, "history.dat")}},
               {"Cookies",
                "Mozilla Cookies",
                0,
                {"Check71", "Cookies", 1},
                {Files(kMozillaSuite, "cookies.txt")}},
               {"cache",
                "Mozilla Cache",
                0,
                {"Check70", "Cache", 2},
                {Files(kMozillaSuite, "localstore.rdf"), Folders(kMozillaSuite, "cache")}},
               {"History",
                "Mozilla History Files",
                0,
                {"Check69", "History Files", 3},
                {Files(kMozillaSuite, "history.dat")}},
           });
}

}  // namespace hm
