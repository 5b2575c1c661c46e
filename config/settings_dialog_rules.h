// What the clean-items dialog frmsettings shows and stores, free of any window: how a settings
// value reads as a box, the size texts of the custom items list, which pages, frames and boxes
// the catalogue gives the dialog, what each "Select all of the above" box sets, the plug-in rows
// and the file each plug-in switch goes to.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/plugin_rules.h"
#include "engine/catalogue.h"

namespace hm {

inline constexpr const char* kSelectAllCaption = "Select all of the above";
// The section whose box switches the whole custom items list.
inline constexpr std::string_view kCustomSection = "Custom";
// The last tab: the community rules of winapp2.ini.
inline constexpr std::string_view kWinapp2Tab = "Community Rules";

// A settings value as the dialog's boxes read it: the number 1 ticks, any other number clears,
// and a value that is no number at all (empty, as for a missing key, or a word) ticks.
bool BoxTicked(std::string_view value);
// The same for the item's own box. A box that asks first shows ticked only where the pass would
// clean the item, so a missing key or a stray word never ticks it behind the user's back.
bool BoxTicked(const CatalogueItem& item, std::string_view value);

// The size column of the custom items list: bytes / 1048576 followed by "MB". Sparse ("##.##",
// rows added while the dialog is open) drops leading and trailing zeros: ".5MB", "12.MB", ".MB"
// for nothing. Padded ("00.00", rows loaded from cusd.dat) keeps two digits on either side:
// "00.50MB". Both round half up to two decimals.
enum class SizePattern { Sparse, Padded };
std::string SizeText(std::uint64_t bytes, SizePattern pattern);

// 42 for "Check42"; 0 for any other text.
int CheckNumber(std::string_view control);

// Section and key as the dialog writes them. They name the same value the pass reads (profile
// files ignore case) but keep the dialog's own letter case, so a file the dialog starts reads
// "[OPERA]" and "Images=" as users have always seen it.
struct SettingName {
    std::string_view section;
    std::string_view key;
};
SettingName DialogSettingName(const CatalogueItem& item);

// The catalogue rows that have a box in the dialog, in catalogue order.
std::vector<const CatalogueItem*> DialogItems();

// A frame's "Select all of the above" box: its own name and the frame it ends.
struct SelectAllBox {
    std::string_view control;
    std::string_view frame;
};
const std::vector<SelectAllBox>& SelectAllBoxes();

// The boxes a select-all box sets or clears: every box of its frame, in the frame's order.
std::vector<const CatalogueItem*> SelectAllMembers(const SelectAllBox& box);

// The question a box asks before it may stay ticked; empty for boxes that ask nothing.
std::string_view ConfirmationFor(std::string_view control);

// The question a box that asks first (ItemBox::asksFirst) puts as it is ticked; empty for
// every other box.
std::string_view TickQuestionFor(const CatalogueItem& item);

enum class PageKind {
    Boxes,        // frames of item boxes
    CustomItems,  // the custom items frame with its list
    Plugins,      // the plug-in list
};

struct FrameModel {
    std::string_view caption;
    std::vector<const CatalogueItem*> boxes;  // in position order
    std::string_view selectAll;               // the select-all box ending the frame, or empty
    int columns = 1;                          // boxes fill the left column first
};

struct PageModel {
    std::string_view tab;
    std::string_view subTab;  // empty for a tab without sub-tabs of its own
    PageKind kind = PageKind::Boxes;
    std::vector<FrameModel> frames;  // in the order of their first boxes
};

// The outer tabs in the dialog's order. Every tab the catalogue names is among them.
std::vector<std::string_view> SettingsTabs();

// One page per tab, or per sub-tab where a tab has them (sub-tabs in catalogue order), in the
// order of SettingsTabs().
std::vector<PageModel> SettingsPages();

// Rows per column of a frame: its boxes and its select-all box spread over its columns.
int FrameRows(const FrameModel& frame);

// The captions with access keys: each gets "&" before a letter or digit that neither another
// caption of the set nor `taken` uses, preferring the first letter of a word; a caption left
// without a free one gets none. An "&" already in a caption is doubled so that it shows.
std::vector<std::string> WithAccessKeys(const std::vector<std::string>& captions,
                                        std::string_view taken);

// The access key of a caption ("&" before it), lower-cased; 0 when it has none.
char AccessKeyOf(std::string_view caption);

// The plug-in list's "Description": appname, one blank, appver, one blank, then decs.
std::string PluginDescription(std::string_view appname, std::string_view appver,
                              std::string_view decs);


}  // namespace hm
