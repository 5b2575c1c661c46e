// The AOL Explorer, MSN Explorer, Maxthon, Chrome and Safari items.
#include "engine/catalogue_rows.h"

namespace hm {

void AppendAolExplorer(std::vector<CatalogueItem>& items) {
    Append(items, 5,
           {
               {"Address",
                "AOL Explorer Address Bar History",
                25,
                {"Check51", "Address Bar History", 0}},
               {"cookies", "AOL Explorer Cookies", 26, {"Check50", "Cookies", 1}},
               {"cache", "AOL Explorer Cache", 27, {"Check49", "Cache", 2}},
               {"history", "AOL Explorer History Files", 28, {"Check48", "History Files", 3}},
           });
}

void AppendMsnExplorer(std::vector<CatalogueItem>& items) {
    Append(items, 6,
           {
               {"Location",
                "MSN Explorer Address Bar History",
                29,
                {"Check23", "Address Bar History", 0}},
               {"cookies", "MSN Explorer Cookies", 30, {"Check22", "Cookies", 1}},
               {"cache", "MSN Explorer Cache", 31, {"Check21", "Cache", 2}},
               {"history", "MSN Explorer History Files", 32, {"Check20", "History Files", 3}},
           });
}

void AppendMaxthon(std::vector<CatalogueItem>& items) {
    // "folder" (the download folder) really does show the open-pages label of "pages".
    Append(items, 8,
           {
               {"keywords", "Maxthon Typed Urls", 0, {"Check129", "Typed Urls", 0}},
               {"pages",
                "Maxthon information about open pages",
                0,
                {"Check130", "Information about open pages", 1}},
               {"settings", "Maxthon settings", 0, {"Check131", "Maxthon settings", 2}},
               {"groups", "Maxthon History Files", 0, {"Check132", "Maxthon History Files", 3}},
               {"folder",
                "Maxthon information about open pages",
                0,
                {"Check134", "Maxthon default save folder", 4}},
           });
}

void AppendChrome(std::vector<CatalogueItem>& items) {
    Append(items, 9,
           {
               {"download", "Chrome download History", 0, {"Check136", "Download History", 0}},
               {"Cookies", "Chrome Cookies", 0, {"Check137", "Cookies", 1}},
               {"Cache", "Chrome Cache", 0, {"Check138", "Cache", 2}},
               {"History", "Chrome History", 0, {"Check139", "History Files", 3}},
               {"Forms",
                "Chrome Forms Data/Saved passwords",
                0,
                {"Check141", "Forms Data/Saved passwords", 4}},
               {"Session", "Chrome Session", 0, {"Check142", "Session", 5}},
           });
}

void AppendSafari(std::vector<CatalogueItem>& items) {
    Append(
        items, 10,
        {
            {"History", "Safari History", 0, {"Check149", "History", 0}},
            {"pages",
             "Safari Information about open pages",
             0,
             {"Check148", "Information about open pages", 1}},
            {"Cache", "Safari Cache", 0, {"Check147", "Cache", 2}},
            {"Cookies", "Safari Cookies", 0, {"Check146", "Cookies", 3}},
            {"download", "Safari Download information", 0, {"Check144", "Download information", 4}},
            {"Autocomplete", "Safari Autocomplete", 0, {"Check150", "Autocomplete", 5}},
            {"Images",
             "Safari Webpage Preview Images",
             0,
             {"Check152", "Webpage Previews Image", 7}},
            {"RecentSearches", "Safari Recent Searches", 0, {"Check151", "Recent Searches", 6}},
        });
}

}  // namespace hm
