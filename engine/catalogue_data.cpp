// The built-in cleaning items as data, in the order the pass walks them. Keys and sections are
// spelled as the pass reads them from hushsd.dat (the dialog spells a few of them in another
// letter case; the profile-file reader ignores case, so both reach the same value). Labels are the
// texts of the result-list rows and are shown exactly as written here, odd case and all; captions
// are the texts of the clean-items dialog's boxes.
//
// A row without actions is not built yet: the pass skips it.
#include <utility>

#include "engine/catalogue_rows.h"

namespace hm {

void Append(std::vector<CatalogueItem>& items, int groupNumber, std::initializer_list<Row> rows) {
    const CatalogueGroup& group = CatalogueGroups().at(static_cast<std::size_t>(groupNumber - 1));
    for (const Row& row : rows) {
        CatalogueItem item;
        item.group = group.number;
        item.kind = ItemKind::Setting;
        item.section = group.section;
        item.key = row.key;
        item.label = row.label;
        item.progress = row.progress;
        // Maxthon's keys are compared with the number 1 rather than the text "1".
        item.tick = group.section == "Maxthon" ? TickRule::NumberOne : TickRule::ExactOne;
        item.box = {
            group.tab,       group.subTab,    row.box.frame.empty() ? group.frame : row.box.frame,
            row.box.control, row.box.caption, row.box.position};
        item.actions = row.actions;
        items.push_back(std::move(item));
    }
}

namespace {

std::vector<CatalogueItem> BuildCatalogue() {
    std::vector<CatalogueItem> items;
    items.reserve(205);

    AppendInternetExplorer(items);
    AppendFirefox(items);
    AppendOpera(items);
    AppendNetscape(items);
    AppendAolExplorer(items);
    AppendMsnExplorer(items);
    AppendMozillaSuite(items);
    AppendMaxthon(items);
    AppendChrome(items);
    AppendSafari(items);
    AppendWindows(items);
    AppendMessengers(items);
    AppendOffice(items);
    AppendOutlookExpress(items);
    AppendWindowsLiveMail(items);
    Append(items, 16,
           {{"Custom",
             "Custom Item",
             80,
             {"Check52", "Custom Clean Items", 0},
             {act::Step{StepId::CustomItems}}}});

    // The plug-in files are not settings keys: one row stands for the whole list, run after the
    // custom items, with the bar set to 97 once the last plug-in has run.
    CatalogueItem plugins;
    plugins.group = 17;
    plugins.kind = ItemKind::PluginList;
    plugins.label = "Plug-in items";
    plugins.progress = 97;
    plugins.box.tab = "Applications";
    items.push_back(std::move(plugins));

    AppendTodaysBrowsers(items);
    return items;
}

}  // namespace

const std::vector<CatalogueGroup>& CatalogueGroups() {
    static const std::vector<CatalogueGroup> groups = {
        {1, "Internet Explorer", "EXPLORER", "Browsers", "Internet Explorer", "Internet Explorer"},
        {2, "Firefox", "FIREFOX", "Browsers", "Firefox", "Mozilla Firefox"},
        {3, "Opera", "Opera", "Browsers", "Opera", "Opera"},
        {4, "Netscape", "Netscape", "Browsers", "Netscape", "Netscape Navigator"},
        {5, "AOL Explorer", "AOL", "Browsers", "AOL Explorer", "AOL Explorer"},
        {6, "MSN Explorer", "MSN", "Browsers", "MSN Explorer", "MSN Exploer"},
        {7, "Mozilla", "Mozilla", "Browsers", "Mozilla", "Mozilla"},
        {8, "Maxthon", "Maxthon", "Browsers", "Maxthon Browser", "Maxthon Browser"},
        {9, "Chrome", "Chrome", "Browsers", "Google Chrome", "Google Chrome"},
        {10, "Safari", "Safari", "Browsers", "Safari", "Safari"},
        {11, "Windows", "WINDOWS", "Windows", "", "Windows"},
        {12, "Messengers", "Messenger", "Instant Messaging", "", ""},
        {13, "Office", "OFFICE", "Microsoft Office", "",
         "MS Office(support 97, 2000, XP, 2003, 2007,2010)"},
        {14, "Outlook Express", "outlook", "Email Readers", "", "Outlook Express"},
        {15, "Windows Live Mail", "mail", "Email Readers", "", "Windows Live Mail"},
        {16, "Custom items", "Custom", "Custom Item", "",
         "Select Folder and Files That will Be Erased"},
        {17, "Plug-in items", "", "Applications", "", ""},
        {18, "Firefox (every profile)", "Today.Firefox", kTodaysBrowsersTab, "Firefox",
         "Firefox, every profile"},
        {19, "Google Chrome (every profile)", "Today.Chrome", kTodaysBrowsersTab, "Google Chrome",
         "Google Chrome, every profile"},
        {20, "Microsoft Edge", "Today.Edge", kTodaysBrowsersTab, "Microsoft Edge",
         "Microsoft Edge, every profile"},
        {21, "Brave", "Today.Brave", kTodaysBrowsersTab, "Brave", "Brave, every profile"},
        {22, "Vivaldi", "Today.Vivaldi", kTodaysBrowsersTab, "Vivaldi", "Vivaldi, every profile"},
        {23, "Opera (every profile)", "Today.Opera", kTodaysBrowsersTab, "Opera", "Opera, every profile"},
        {24, "Opera GX", "Today.OperaGX", kTodaysBrowsersTab, "Opera GX", "Opera GX, every profile"},
        {25, "Chromium", "Today.Chromium", kTodaysBrowsersTab, "Chromium",
         "Chromium, every profile"},
    };
    return groups;
}

const std::vector<CatalogueItem>& Catalogue() {
    static const std::vector<CatalogueItem> items = BuildCatalogue();
    return items;
}

}  // namespace hm
