#include "config/settings_dialog_rules.h"

#include <algorithm>
#include <array>
#include <span>
#include <utility>

#include "engine/format_rules.h"
#include "engine/tick_rules.h"
#include "platform/path_rules.h"

namespace hm {
namespace {

// The dialog's tab order; the catalogue says which tabs exist and what is on them.
constexpr std::array<std::string_view, 8> kTabOrder = {
    "Browsers",     "Today's Browsers", "Windows",           "Microsoft Office",
    "Applications", "Custom Item",      "Instant Messaging", "Email Readers"};

// The catalogue spells these as the pass reads them; the dialog has always written them in
// another letter case. Only the case may differ (DialogSettingName checks), so a wrong entry
// here can never point a box at another value.
constexpr std::pair<std::string_view, std::string_view> kSectionSpellings[] = {
    {"Opera", "OPERA"}, {"Netscape", "NETSCAPE"}};
constexpr std::pair<std::string_view, std::string_view> kKeySpellings[] = {
    {"Check44", "Cache"},     {"Check11", "Cache"},     {"Check50", "Cookies"},
    {"Check49", "Cache"},     {"Check48", "History"},   {"Check22", "Cookies"},
    {"Check21", "Cache"},     {"Check20", "History"},   {"Check70", "Cache"},
    {"Check149", "history"},  {"Check144", "Download"}, {"Check39", "powerpoint"},
    {"Check40", "frontpage"}, {"Check36", "access"}};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return AsciiLower(a) == AsciiLower(b);
}

std::string_view Respelled(std::string_view name, std::string_view lookup,
                           std::span<const std::pair<std::string_view, std::string_view>> table) {
    for (const auto& [from, to] : table) {
        if (from == lookup && SameIgnoringCase(to, name)) {
            return to;
        }
    }
    return name;
}

bool IsAccessCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Where in the caption the access key goes: a word's first letter if one is free, else any
// free letter or digit; npos when none is.
std::size_t AccessPosition(std::string_view caption, const std::string& used) {
    const auto free = [&](std::size_t i) {
        return IsAccessCharacter(caption[i]) && used.find(Lower(caption[i])) == std::string::npos;
    };
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const bool wordStart = i == 0 || !IsAccessCharacter(caption[i - 1]);
        if (wordStart && free(i)) {
            return i;
        }
    }
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (free(i)) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::vector<const CatalogueItem*> ByPosition(std::vector<const CatalogueItem*> rows) {
    std::stable_sort(rows.begin(), rows.end(), [](const CatalogueItem* a, const CatalogueItem* b) {
        return a->box.position < b->box.position;
    });
    return rows;
}

PageModel& PageFor(std::vector<PageModel>& pages, const CatalogueItem& row) {
    for (PageModel& page : pages) {
        if (page.tab == row.box.tab && page.subTab == row.box.subTab) {
            return page;
        }
    }
    pages.push_back({row.box.tab, row.box.subTab, PageKind::Boxes, {}});
    return pages.back();
}

}  // namespace

bool BoxTicked(std::string_view value) {
    double number = 0;
    return !ParseNumber(value, number) || number == 1;
}

bool BoxTicked(const CatalogueItem& item, std::string_view value) {
    return item.box.asksFirst ? IsTicked(item.tick, TrimBlanks(value)) : BoxTicked(value);
}

std::string SizeText(std::uint64_t bytes, SizePattern pattern) {
    constexpr std::uint64_t kMegabyte = 1048576;
    // Whole hundredths of a megabyte, half up, without leaving 64-bit integers.
    const std::uint64_t hundredths =
        bytes / kMegabyte * 100 + ((bytes % kMegabyte) * 100 + kMegabyte / 2) / kMegabyte;
    const std::uint64_t whole = hundredths / 100;
    const std::uint64_t fraction = hundredths % 100;
    const std::string tens(1, static_cast<char>('0' + fraction / 10));
    const std::string ones(1, static_cast<char>('0' + fraction % 10));
    std::string text;
    if (pattern == SizePattern::Padded) {
        text = (whole < 10 ? "0" : "") + std::to_string(whole) + "." + tens + ones;
    } else {
        text = (whole == 0 ? "" : std::to_string(whole)) + ".";
        if (fraction != 0) {
            text += tens + (fraction % 10 != 0 ? ones : "");
        }
    }
    return text + "MB";
}

int CheckNumber(std::string_view control) {
    constexpr std::string_view kPrefix = "Check";
    if (control.size() <= kPrefix.size() || control.size() > kPrefix.size() + 4 ||
        control.substr(0, kPrefix.size()) != kPrefix || control[kPrefix.size()] == '0') {
        return 0;
    }
    int number = 0;
    for (char c : control.substr(kPrefix.size())) {
        if (c < '0' || c > '9') {
            return 0;
        }
        number = number * 10 + (c - '0');
    }
    return number;
}

SettingName DialogSettingName(const CatalogueItem& item) {
    return {Respelled(item.section, item.section, kSectionSpellings),
            Respelled(item.key, item.box.control, kKeySpellings)};
}

std::vector<const CatalogueItem*> DialogItems() {
    std::vector<const CatalogueItem*> items;
    for (const CatalogueItem& item : Catalogue()) {
        if (item.kind == ItemKind::Setting && !item.box.control.empty()) {
            items.push_back(&item);
        }
    }
    return items;
}

const std::vector<SelectAllBox>& SelectAllBoxes() {
    static const std::vector<SelectAllBox> boxes = {
        {"Check9", "Internet Explorer"},
        {"Check46", "Mozilla Firefox"},
        {"Check13", "Opera"},
        {"Check14", "Netscape Navigator"},
        {"Check47", "AOL Explorer"},
        {"Check19", "MSN Exploer"},
        {"Check68", "Mozilla"},
        {"Check133", "Maxthon Browser"},
        {"Check140", "Google Chrome"},
        {"Check145", "Safari"},
        {"Check31", "Windows"},
        {"Check41", "MS Office(support 97, 2000, XP, 2003, 2007,2010)"},
        {"Check127", "Outlook Express"},
        {"Check128", "Windows Live Mail"},
        {"Check209", "Firefox, every profile"},
        {"Check219", "Google Chrome, every profile"},
        {"Check229", "Microsoft Edge, every profile"},
        {"Check239", "Brave, every profile"},
        {"Check249", "Vivaldi, every profile"},
        {"Check259", "Opera, every profile"},
        {"Check269", "Opera GX, every profile"},
        {"Check279", "Chromium, every profile"},
    };
    return boxes;
}

std::vector<const CatalogueItem*> SelectAllMembers(const SelectAllBox& box) {
    std::vector<const CatalogueItem*> members;
    for (const CatalogueItem* item : DialogItems()) {
        if (item->box.frame == box.frame) {
            members.push_back(item);
        }
    }
    return ByPosition(std::move(members));
}

std::string_view ConfirmationFor(std::string_view control) {
    if (control == "Check5") {
        return "Are you sure delete IE Favorites?";
    }
    if (control == "Check7") {
        return "Are you sure delete Downloaded Files?";
    }
    return {};
}

std::string_view TickQuestionFor(const CatalogueItem& item) {
    if (!item.box.asksFirst) {
        return {};
    }
    if (item.key == "Passwords") {
        return "Saved passwords will be deleted for good, and you will have to sign in again "
               "everywhere. Delete saved passwords?";
    }
    return "What this deletes was saved on purpose and cannot be brought back. Delete it?";
}

std::vector<std::string_view> SettingsTabs() {
    std::vector<std::string_view> named;
    for (const CatalogueItem& item : Catalogue()) {
        if (!item.box.tab.empty() &&
            std::find(named.begin(), named.end(), item.box.tab) == named.end()) {
            named.push_back(item.box.tab);
        }
    }
    std::vector<std::string_view> tabs;
    for (std::string_view tab : kTabOrder) {
        if (std::find(named.begin(), named.end(), tab) != named.end()) {
            tabs.push_back(tab);
        }
    }
    // A tab the catalogue gains later still shows, after the known ones.
    for (std::string_view tab : named) {
        if (std::find(tabs.begin(), tabs.end(), tab) == tabs.end()) {
            tabs.push_back(tab);
        }
    }
    return tabs;
}

std::vector<PageModel> SettingsPages() {
    std::vector<PageModel> found;
    for (const CatalogueItem& row : Catalogue()) {
        if (row.box.tab.empty()) {
            continue;
        }
        PageModel& page = PageFor(found, row);
        if (row.kind == ItemKind::PluginList) {
            page.kind = PageKind::Plugins;
            continue;
        }
        if (row.box.control.empty()) {
            continue;
        }
        if (row.section == kCustomSection) {
            page.kind = PageKind::CustomItems;
        }
        auto frame = std::find_if(page.frames.begin(), page.frames.end(),
                                  [&](const FrameModel& f) { return f.caption == row.box.frame; });
        if (frame == page.frames.end()) {
            page.frames.push_back({row.box.frame, {}, {}, 1});
            frame = page.frames.end() - 1;
        }
        frame->boxes.push_back(&row);
    }
    for (PageModel& page : found) {
        for (FrameModel& frame : page.frames) {
            frame.boxes = ByPosition(std::move(frame.boxes));
            for (const SelectAllBox& box : SelectAllBoxes()) {
                if (box.frame == frame.caption) {
                    frame.selectAll = box.control;
                }
            }
            // A frame that has a tab of its own has the room for two columns.
            const bool alone = page.subTab.empty() && page.frames.size() == 1;
            frame.columns = alone && page.kind == PageKind::Boxes ? 2 : 1;
        }
        // Frames of one group come in the order of their first boxes; groups keep theirs.
        std::stable_sort(
            page.frames.begin(), page.frames.end(), [](const FrameModel& a, const FrameModel& b) {
                const CatalogueItem& x = *a.boxes.front();
                const CatalogueItem& y = *b.boxes.front();
                return x.group != y.group ? x.group < y.group : x.box.position < y.box.position;
            });
    }
    std::vector<PageModel> pages;
    for (std::string_view tab : SettingsTabs()) {
        for (PageModel& page : found) {
            if (page.tab == tab) {
                pages.push_back(std::move(page));
            }
        }
    }
    return pages;
}

int FrameRows(const FrameModel& frame) {
    const int count = static_cast<int>(frame.boxes.size()) + (frame.selectAll.empty() ? 0 : 1);
    const int columns = std::max(frame.columns, 1);
    return (count + columns - 1) / columns;
}

std::vector<std::string> WithAccessKeys(const std::vector<std::string>& captions,
                                        std::string_view taken) {
    std::string used;
    for (char c : taken) {
        used.push_back(Lower(c));
    }
    std::vector<std::string> keyed;
    keyed.reserve(captions.size());
    for (const std::string& caption : captions) {
        const std::size_t at = AccessPosition(caption, used);
        std::string text;
        for (std::size_t i = 0; i < caption.size(); ++i) {
            if (i == at) {
                text.push_back('&');
                used.push_back(Lower(caption[i]));
            }
            text.append(caption[i] == '&' ? "&&" : std::string(1, caption[i]));
        }
        keyed.push_back(std::move(text));
    }
    return keyed;
}

char AccessKeyOf(std::string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') {
            continue;
        }
        if (caption[i + 1] != '&') {
            return Lower(caption[i + 1]);
        }
        ++i;  // "&&" shows one "&"
    }
    return 0;
}

std::string PluginDescription(std::string_view appname, std::string_view appver,
                              std::string_view decs) {
    return std::string(appname) + " " + std::string(appver) + " " + std::string(decs);
}

}  // namespace hm
