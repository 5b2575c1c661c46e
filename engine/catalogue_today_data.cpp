// Today's browsers: Firefox with every profile profiles.ini names, and the Chromium family with
// every profile of its data folder. Each browser is a group of the same eight rows; a row is one
// step that finds the profiles when it runs and cleans one kind of trace in each of them.
#include <deque>
#include <string>

#include "engine/browser_rows.h"
#include "engine/catalogue_rows.h"

namespace hm {
namespace {

struct TodaysBrowser {
    int group;
    std::string_view key;   // the browser's key in engine/browsers.h
    std::string_view name;  // as row labels show it
    StepId step;
    int firstCheck;  // the boxes are numbered from here, one per row
};

constexpr TodaysBrowser kTodaysBrowsers[] = {
    {18, "Firefox", "Firefox", StepId::FirefoxRow, 201},
    {19, "Chrome", "Google Chrome", StepId::ChromiumRow, 211},
    {20, "Edge", "Microsoft Edge", StepId::ChromiumRow, 221},
    {21, "Brave", "Brave", StepId::ChromiumRow, 231},
    {22, "Vivaldi", "Vivaldi", StepId::ChromiumRow, 241},
    {23, "Opera", "Opera", StepId::ChromiumRow, 251},
    {24, "OperaGX", "Opera GX", StepId::ChromiumRow, 261},
    {25, "Chromium", "Chromium", StepId::ChromiumRow, 271},
};

// Labels and box names are made here once; the catalogue keeps views of them.
std::string_view Keep(std::string text) {
    static std::deque<std::string> texts;
    return texts.emplace_back(std::move(text));
}

}  // namespace

void AppendTodaysBrowsers(std::vector<CatalogueItem>& items) {
    for (const TodaysBrowser& browser : kTodaysBrowsers) {
        const CatalogueGroup& group =
            CatalogueGroups().at(static_cast<std::size_t>(browser.group - 1));
        int position = 0;
        for (const BrowserRowInfo& row : BrowserRowList()) {
            CatalogueItem item;
            item.group = browser.group;
            item.section = group.section;
            item.key = row.key;
            item.label = Keep(std::string(browser.name) + ": " + std::string(row.caption));
            item.box = {group.tab,    group.subTab,
                        group.frame,  Keep("Check" + std::to_string(browser.firstCheck + position)),
                        row.caption,  position,
                        row.asksFirst};
            item.actions = {act::Step{browser.step, {}, {browser.key, row.key}}};
            items.push_back(std::move(item));
            ++position;
        }
    }
}

}  // namespace hm
