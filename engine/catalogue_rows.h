// How the catalogue's data files write their rows: one Append per group, in pass order, each row
// with its settings key, status-row label, progress value, box in the clean-items dialog and
// actions. A row without actions is not built yet: the pass skips it.
#pragma once

#include <initializer_list>
#include <string_view>
#include <vector>

#include "engine/catalogue.h"

namespace hm {

// The item's box in the clean-items dialog: name, caption, place in its frame, and the frame
// where a group's items are spread over several.
struct Box {
    std::string_view control;
    std::string_view caption;
    int position = 0;
    std::string_view frame = {};
};

struct Row {
    std::string_view key;
    std::string_view label;
    int progress = 0;
    Box box;
    std::vector<Action> actions = {};
};

// Adds the rows of group groupNumber (1-based, pass order) to the catalogue.
void Append(std::vector<CatalogueItem>& items, int groupNumber, std::initializer_list<Row> rows);

// One per group, each in the data file of its product family.
void AppendInternetExplorer(std::vector<CatalogueItem>& items);
void AppendFirefox(std::vector<CatalogueItem>& items);
void AppendOpera(std::vector<CatalogueItem>& items);
void AppendNetscape(std::vector<CatalogueItem>& items);
void AppendAolExplorer(std::vector<CatalogueItem>& items);
void AppendMsnExplorer(std::vector<CatalogueItem>& items);
void AppendMozillaSuite(std::vector<CatalogueItem>& items);
void AppendMaxthon(std::vector<CatalogueItem>& items);
void AppendChrome(std::vector<CatalogueItem>& items);
void AppendSafari(std::vector<CatalogueItem>& items);
void AppendWindows(std::vector<CatalogueItem>& items);
void AppendMessengers(std::vector<CatalogueItem>& items);
void AppendOffice(std::vector<CatalogueItem>& items);
void AppendOutlookExpress(std::vector<CatalogueItem>& items);
void AppendWindowsLiveMail(std::vector<CatalogueItem>& items);
// Today's browsers, one group each, after the plug-in items.
void AppendTodaysBrowsers(std::vector<CatalogueItem>& items);

}  // namespace hm
