// The clean-items dialog's rules without a window: the box rule, the size texts, the pages and
// frames the catalogue gives, the select-all boxes, the dialog's spelling of sections and keys,
// access keys and the plug-in rows and files.
#include "config/settings_dialog_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/path_rules.h"

namespace hm {
namespace {

std::string Controls(const std::vector<const CatalogueItem*>& rows) {
    std::string names;
    for (const CatalogueItem* row : rows) {
        names += std::string(row->box.control) + " ";
    }
    return names;
}

const PageModel& Page(const std::vector<PageModel>& pages, std::string_view tab,
                      std::string_view subTab = {}) {
    for (const PageModel& page : pages) {
        if (page.tab == tab && page.subTab == subTab) {
            return page;
        }
    }
    ADD_FAILURE() << "no page " << tab << "/" << subTab;
    return pages.front();
}

TEST(SettingsDialogRules, BoxTicksOnTheNumberOneAndOnWhatIsNoNumber) {
    for (const char* ticks : {"1", " 1 ", "1.0", "01", "+1", "1e0", "", "   ", "yes", "1x", "on"}) {
        EXPECT_TRUE(BoxTicked(ticks)) << "'" << ticks << "'";
    }
    for (const char* clears : {"0", "2", "-1", "0.5", "1.01", "1e1", " 0 "}) {
        EXPECT_FALSE(BoxTicked(clears)) << "'" << clears << "'";
    }
}

TEST(SettingsDialogRules, SizeTextsFollowTheirPatterns) {
    constexpr std::uint64_t kMb = 1048576;
    struct Case {
        std::uint64_t bytes;
        const char* sparse;
        const char* padded;
    };
    const Case cases[] = {
        {524288, ".5MB", "00.50MB"},
        {12 * kMb, "12.MB", "12.00MB"},
        {0, ".MB", "00.00MB"},
        {5242, ".MB", "00.00MB"},    // 0.004999 MB
        {5243, ".01MB", "00.01MB"},  // 0.005000 MB rounds up
        {52429, ".05MB", "00.05MB"},
        {kMb + kMb / 10 + 1, "1.1MB", "01.10MB"},
        {123 * kMb + 478151, "123.46MB", "123.46MB"},  // 123.456 MB
        {kMb * 100 - 1, "100.MB", "100.00MB"},         // rounds up into the next whole
        {18446744073709551615ull, "17592186044416.MB", "17592186044416.00MB"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SizeText(c.bytes, SizePattern::Sparse), c.sparse) << c.bytes;
        EXPECT_EQ(SizeText(c.bytes, SizePattern::Padded), c.padded) << c.bytes;
    }
}

TEST(SettingsDialogRules, BoxNamesGiveDistinctNumbers) {
    EXPECT_EQ(CheckNumber("Check154"), 154);
    for (const char* other :
         {"Check", "Check0", "Check042", "check42", "Check4x", "Command7", "Check99999"}) {
        EXPECT_EQ(CheckNumber(other), 0) << other;
    }
    std::set<int> numbers;
    for (const CatalogueItem* item : DialogItems()) {
        numbers.insert(CheckNumber(item->box.control));
    }
    for (const SelectAllBox& box : SelectAllBoxes()) {
        numbers.insert(CheckNumber(box.control));
    }
    numbers.erase(0);
    EXPECT_EQ(numbers.size(), 204u + 22u);
}

TEST(SettingsDialogRules, FramesAreArrangedAsTheDialogShowsThem) {
    const std::vector<PageModel> pages = SettingsPages();
    std::string tabs;
    for (std::string_view tab : SettingsTabs()) {
        tabs += std::string(tab) + "|";
    }
    EXPECT_EQ(tabs,
              "Browsers|Today's Browsers|Windows|Microsoft Office|Applications|Custom Item|"
              "Instant Messaging|Email Readers|");
    const auto captions = [&](std::string_view tab) {
        std::string text;
        for (const FrameModel& frame : Page(pages, tab).frames) {
            text += std::string(frame.caption) + "|";
            EXPECT_EQ(frame.columns, 1) << frame.caption;
        }
        return text;
    };
    // Left column first: two frames over two.
    EXPECT_EQ(captions("Instant Messaging"),
              "Windows Live Messenger|AOL Instant Messenger|ICQ|Yahoo! Messenger|");
    EXPECT_EQ(captions("Email Readers"), "Outlook Express|Windows Live Mail|");
    const FrameModel& windows = Page(pages, "Windows").frames.at(0);
    EXPECT_EQ(windows.columns, 2);
    EXPECT_EQ(FrameRows(windows), 14);
    EXPECT_EQ(windows.boxes.at(13)->box.control, "Check101");  // last of the left column
    EXPECT_EQ(windows.boxes.at(14)->box.control, "Check86");   // first of the right one
    const FrameModel& office = Page(pages, "Microsoft Office").frames.at(0);
    EXPECT_EQ(office.columns, 2);
    EXPECT_EQ(FrameRows(office), 7);
    EXPECT_EQ(FrameRows(Page(pages, "Browsers", "Internet Explorer").frames.at(0)), 12);
    EXPECT_EQ(Page(pages, "Custom Item").kind, PageKind::CustomItems);
    EXPECT_EQ(Controls(Page(pages, "Custom Item").frames.at(0).boxes), "Check52 ");
    EXPECT_EQ(Page(pages, "Applications").kind, PageKind::Plugins);
    EXPECT_TRUE(Page(pages, "Applications").frames.empty());
    // Today's browsers: one frame of eight rows and its select-all box on each sub-tab.
    const FrameModel& gx = Page(pages, kTodaysBrowsersTab, "Opera GX").frames.at(0);
    EXPECT_EQ(Controls(gx.boxes),
              "Check261 Check262 Check263 Check264 Check265 Check266 Check267 Check268 ");
    EXPECT_EQ(gx.selectAll, "Check269");
}

TEST(SettingsDialogRules, BoxesThatAskFirstTickOnlyOnOneAndAskAboutWhatTheyTake) {
    int asking = 0;
    for (const CatalogueItem* item : DialogItems()) {
        SCOPED_TRACE(std::string(item->box.control));
        const bool passwords = item->box.caption == "Saved passwords";
        EXPECT_EQ(item->box.asksFirst, passwords);
        if (!item->box.asksFirst) {
            EXPECT_TRUE(BoxTicked(*item, ""));
            EXPECT_EQ(TickQuestionFor(*item), "");
            continue;
        }
        ++asking;
        EXPECT_NE(TickQuestionFor(*item).find("Delete saved passwords?"), std::string::npos);
        EXPECT_TRUE(BoxTicked(*item, " 1 "));
        // Only what the pass reads as ticked.
        for (const char* clears : {"", "yes", "1.0", "01"}) {
            EXPECT_FALSE(BoxTicked(*item, clears)) << "'" << clears << "'";
        }
    }
    EXPECT_EQ(asking, 8);
}

TEST(SettingsDialogRules, EachSelectAllBoxSetsTheFrameItEnds) {
    std::set<std::string_view> covered;
    std::string counts;
    for (const SelectAllBox& box : SelectAllBoxes()) {
        for (const CatalogueItem* member : SelectAllMembers(box)) {
            EXPECT_EQ(member->box.frame, box.frame);
            covered.insert(member->box.control);
        }
        counts +=
            std::string(box.control) + "=" + std::to_string(SelectAllMembers(box).size()) + " ";
    }
    EXPECT_EQ(counts,
              "Check9=11 Check46=7 Check13=9 Check14=7 Check47=4 Check19=4 Check68=4 "
              "Check133=5 Check140=6 Check145=8 Check31=27 Check41=13 Check127=10 "
              "Check128=7 Check209=8 Check219=8 Check229=8 Check239=8 Check249=8 Check259=8 "
              "Check269=8 Check279=8 ");
    // All but the messenger and custom boxes.
    EXPECT_EQ(covered.size(), 204u - 17u - 1u);
    std::vector<std::string> ie;
    for (const CatalogueItem* row : SelectAllMembers(SelectAllBoxes().front())) {
        ie.emplace_back(row->box.control);
    }
    std::sort(ie.begin(), ie.end());
    EXPECT_EQ(ie, (std::vector<std::string>{"Check1", "Check135", "Check153", "Check154", "Check2",
                                            "Check3", "Check4", "Check5", "Check54", "Check6",
                                            "Check7"}));
    EXPECT_EQ(ConfirmationFor("Check5"), "Are you sure delete IE Favorites?");
    EXPECT_EQ(ConfirmationFor("Check7"), "Are you sure delete Downloaded Files?");
    EXPECT_EQ(ConfirmationFor("Check9"), "");
}

TEST(SettingsDialogRules, SectionsAndKeysAreWrittenInTheDialogsOwnCase) {
    const auto name = [](std::string_view control) {
        for (const CatalogueItem* item : DialogItems()) {
            if (item->box.control == control) {
                const SettingName spelled = DialogSettingName(*item);
                return std::string(spelled.section) + "/" + std::string(spelled.key);
            }
        }
        return std::string("none");
    };
    EXPECT_EQ(name("Check59"), "OPERA/Images");
    EXPECT_EQ(name("Check11"), "OPERA/Cache");
    EXPECT_EQ(name("Check18"), "NETSCAPE/Location");
    EXPECT_EQ(name("Check39"), "OFFICE/powerpoint");
    EXPECT_EQ(name("Check149"), "Safari/history");
    EXPECT_EQ(name("Check1"), "EXPLORER/location");
    EXPECT_EQ(name("Check52"), "Custom/Custom");
    // Only the letter case ever differs from what the pass reads, and every entry of the
    // spelling table reaches its row.
    int respelled = 0;
    for (const CatalogueItem* item : DialogItems()) {
        const SettingName spelled = DialogSettingName(*item);
        EXPECT_EQ(AsciiLower(spelled.section), AsciiLower(item->section));
        EXPECT_EQ(AsciiLower(spelled.key), AsciiLower(item->key));
        respelled += spelled.section != item->section || spelled.key != item->key;
    }
    EXPECT_EQ(respelled, 29);
}

TEST(SettingsDialogRules, AccessKeysAreFreeLettersPreferringWordStarts) {
    EXPECT_EQ(WithAccessKeys({"Cookies", "Cache", "History Files", "Tom & Jerry", "Select"}, "o"),
              (std::vector<std::string>{"&Cookies", "C&ache", "&History Files", "&Tom && Jerry",
                                        "&Select"}));
    // Letters taken by the page's other controls are left alone; a caption without a free
    // letter keeps its text.
    EXPECT_EQ(WithAccessKeys({"Add", "ad", "Da"}, "r"),
              (std::vector<std::string>{"&Add", "a&d", "Da"}));
    EXPECT_EQ(AccessKeyOf("C&ache"), 'a');
    EXPECT_EQ(AccessKeyOf("&Options"), 'o');
    EXPECT_EQ(AccessKeyOf("Tom && Jerry"), 0);
    EXPECT_EQ(AccessKeyOf("&&&x"), 'x');
    EXPECT_EQ(AccessKeyOf("plain"), 0);
}

TEST(SettingsDialogRules, PluginDescriptionsAndSwitchFiles) {
    EXPECT_EQ(PluginDescription("Alpha", "1.0", "Cleans alpha"), "Alpha 1.0 Cleans alpha");
    EXPECT_EQ(PluginDescription("", "", ""), "  ");

    EXPECT_EQ(PluginSwitchFile("C:\\Program", "Alpha"), "C:\\Program\\plus-in\\Alpha.hmx");
    EXPECT_EQ(PluginSwitchFile("C:\\Program", "Alpha 2.0"), "C:\\Program\\plus-in\\Alpha 2.0.hmx");
    EXPECT_EQ(PluginSwitchFile("C:\\Program", ".."), "C:\\Program\\plus-in\\...hmx");
    for (const char* unsafe :
         {"", "..\\..\\Windows\\win", "a/b", "C:x", "a*b", "a?", "a\tb", "a|b", "a\"b", "<a>"}) {
        EXPECT_EQ(PluginSwitchFile("C:\\Program", unsafe), "") << unsafe;
    }
}

}  // namespace
}  // namespace hm
