// The clean-items dialog's tab of today's browsers: a sub-tab per browser whose boxes write their
// own keys, and the saved-passwords boxes that start cleared and ask before they stay ticked.
#include "tests/config/settings_dialog_fixture.h"

namespace hm {
namespace {

using test::TabTitles;

using F = frmsettings;
using test::SettingsDialogTest;

constexpr int kTodayTab = 1;
constexpr const char* kPasswordsQuestion =
    "Saved passwords will be deleted for good, and you will have to sign in again everywhere. "
    "Delete saved passwords?";

std::vector<const CatalogueItem*> TodaysItems() {
    std::vector<const CatalogueItem*> rows;
    for (const CatalogueItem* item : DialogItems()) {
        if (item->box.tab == kTodaysBrowsersTab) {
            rows.push_back(item);
        }
    }
    return rows;
}

TEST_F(SettingsDialogTest, TodaysBrowsersHaveASubTabEachWhoseBoxesWriteTheirOwnKeys) {
    const std::vector<const CatalogueItem*> rows = TodaysItems();
    ASSERT_EQ(rows.size(), 64u);
    for (const CatalogueItem* item : rows) {
        Store(*item, "0");
    }
    Open();
    HWND tabs = dialog->SubTabControl(kTodayTab);
    ASSERT_NE(tabs, nullptr);
    EXPECT_NE(tabs, Control(F::SSTab2));
    EXPECT_EQ(TabTitles(tabs),
              "Firefox|Google Chrome|Microsoft Edge|Brave|Vivaldi|Opera|Opera GX|Chromium|");
    const std::vector<HWND>& pages = dialog->SubPages(kTodayTab);
    ASSERT_EQ(pages.size(), 8u);
    // Row r of browser b lies on sub-tab b; the dialog ticks the rows with r == b.
    for (std::size_t index = 0; index < rows.size(); ++index) {
        const CatalogueItem& item = *rows[index];
        SCOPED_TRACE(std::string(item.box.control));
        EXPECT_TRUE(IsChild(pages[index / 8], Box(item.box.control)));
        if (index % 8 == index / 8) {
            ClickBox(item.box.control);
            EXPECT_TRUE(IsWindowVisible(Box(item.box.control)));
        }
    }
    EXPECT_EQ(asked.size(), 1u);  // the Chromium row 7 is the saved passwords
    // The arrow keys on the focused tab control switch its pages, as a click does.
    dialog->ShowTab(kTodayTab);
    dialog->ShowSubTab(kTodayTab, 0);
    SetFocus(tabs);
    SendMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_FALSE(IsWindowVisible(pages[0]));
    EXPECT_TRUE(IsWindowVisible(pages[1]));
    // The old browsers' tab keeps its own sub-tab.
    EXPECT_EQ(SendMessageW(Control(F::SSTab2), TCM_GETCURSEL, 0, 0), 0);
    Save();
    for (std::size_t index = 0; index < rows.size(); ++index) {
        EXPECT_EQ(Stored(*rows[index]), index % 8 == index / 8 ? "1" : "0")
            << rows[index]->box.control;
    }
    EXPECT_EQ(ReadIniValue(Settings(), "Today.Vivaldi", "Forms"), "1");
}

TEST_F(SettingsDialogTest, SavedPasswordsStartClearedAndAskBeforeTheyStayTicked) {
    for (const CatalogueItem* item : TodaysItems()) {
        if (item->section == "Today.Chrome" && item->box.asksFirst) {
            Store(*item, "1");
        }
        if (item->section == "Today.Edge" && item->box.asksFirst) {
            Store(*item, "yes");
        }
    }
    Open();
    // Check208, Check218, ...: the saved passwords of each browser.
    EXPECT_EQ(test::WithoutAccessKey(GetText(Box("Check208"))), "Saved passwords");
    EXPECT_FALSE(Ticked("Check208"));  // unset
    EXPECT_TRUE(Ticked("Check201"));   // unset, but the cache asks nothing
    EXPECT_TRUE(Ticked("Check218"));   // "1"
    EXPECT_FALSE(Ticked("Check228"));  // a word is no "1"
    EXPECT_TRUE(asked.empty());

    answers = {IDCANCEL};
    ClickBox("Check208");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, kPasswordsQuestion);
    EXPECT_EQ(asked[0].title, "Hushmark");
    EXPECT_EQ(asked[0].type, static_cast<UINT>(MB_OKCANCEL));
    EXPECT_FALSE(Ticked("Check208"));
    ClickBox("Check218");  // clearing asks nothing
    EXPECT_FALSE(Ticked("Check218"));
    EXPECT_EQ(asked.size(), 1u);
    answers = {IDOK};
    ClickBox("Check208");
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_TRUE(Ticked("Check208"));

    // From the keyboard: the box's access key ticks it and asks the same.
    Reveal(Box("Check228"));
    SetFocus(Box("Check221"));
    const char key = AccessKeyOf(GetText(Box("Check228")));
    ASSERT_NE(key, 0);
    MSG press = {GetFocus(), WM_SYSCHAR, static_cast<WPARAM>(key), 1 << 29, 0, {}};
    IsDialogMessageW(dialog->hwnd(), &press);
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[2].text, kPasswordsQuestion);
    EXPECT_TRUE(Ticked("Check228"));

    // The select-all box asks for its saved passwords; Cancel leaves them alone only.
    answers = {IDCANCEL};
    ClickBox("Check239");
    EXPECT_EQ(asked.size(), 4u);
    EXPECT_EQ(States({"Check231", "Check232", "Check233", "Check234", "Check235", "Check236",
                      "Check237", "Check238"}),
              "11111110");
    Save();
    EXPECT_EQ(ReadIniValue(Settings(), "Today.Firefox", "Passwords"), "1");
    EXPECT_EQ(ReadIniValue(Settings(), "Today.Chrome", "Passwords"), "0");
    EXPECT_EQ(ReadIniValue(Settings(), "Today.Edge", "Passwords"), "1");
    EXPECT_EQ(ReadIniValue(Settings(), "Today.Brave", "Passwords"), "0");
    EXPECT_EQ(ReadIniValue(Settings(), "Today.Brave", "Cache"), "1");
}

}  // namespace
}  // namespace hm
