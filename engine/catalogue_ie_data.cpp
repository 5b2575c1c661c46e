// The Internet Explorer items. Several hand part of their work to the browser's own clearing
// entry point or depend on its version; those are special steps.
#include "engine/catalogue_rows.h"

namespace hm {

void AppendInternetExplorer(std::vector<CatalogueItem>& items) {
    Append(
        items, 1,
        {
            {"location",
             "IE Location Bar History",
             5,
             {"Check1", "IE Address Bar History", 0},
             {act::Step{
                 StepId::TypedUrls, {}, {"Software\\Microsoft\\Internet Explorer\\TypedURLs"}}}},
            {"history",
             "IE Internet History Files",
             6,
             {"Check2", "IE Internet History Files", 1},
             {act::Step{StepId::IeHistory}}},
            {"cache",
             "IE Internet Cache",
             8,
             {"Check3", "IE Internet Cache", 2},
             {act::Step{StepId::IeCache, {BaseFolder::ShellCache, ""}}}},
            {"cookies",
             "IE Cookies",
             10,
             {"Check4", "IE Cookies", 3},
             {act::Step{StepId::CookieSweep, {BaseFolder::ShellCookies, ""}}}},
            {"favorites",
             "IE Favorites",
             11,
             {"Check5", "IE Favorites", 4},
             {act::ResetFolder{{BaseFolder::ShellFavorites, ""}}}},
            {"autocomplete",
             "IE Autocomplete Memory",
             11,
             {"Check6", "IE Autocomplete memory", 5},
             {act::Step{StepId::IeAutocomplete}}},
            {"downloaded",
             "IE Downloaded Files(Only IE9)",
             11,
             {"Check7", "IE Downloaded Files(Only IE9)", 6},
             {act::Step{StepId::IeDownloaded}}},
            {"downloadedhistory",
             "IE Downloaded History(Only IE9)",
             11,
             {"Check153", "IE Downloaded History(Only IE9)", 7},
             {act::Step{StepId::IeDownloadedHistory}}},
            {"index",
             "IE Index.dat Files",
             0,
             {"Check54", "Index.dat", 8},
             {act::Step{StepId::IeIndex}}},
            {"inprivate",
             "IE Inprivate Filter",
             12,
             {"Check135", "Inprivate Filter", 9},
             {act::Step{StepId::IeInprivate}}},
            {"addons",
             "IE Add-ons Settings",
             12,
             {"Check154", "Add-ons Settings", 10},
             {act::Step{StepId::IeAddons}}},
        });
}

}  // namespace hm
