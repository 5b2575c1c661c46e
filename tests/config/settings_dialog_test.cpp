// The clean-items dialog's boxes: what it builds from the catalogue, how it reads and writes the
// settings file, the select-all boxes and their questions, the mail programs' detection, and
// its layout and keyboard at the DPI the run was started with.
#include "tests/config/settings_dialog_fixture.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace hm {
namespace {

using test::TabTitles;

using F = frmsettings;
using test::Asked;
using test::SettingsDialogTest;

std::vector<const CatalogueItem*> InFrame(std::string_view frame) {
    std::vector<const CatalogueItem*> rows;
    for (const CatalogueItem* item : DialogItems()) {
        if (item->box.frame == frame) {
            rows.push_back(item);
        }
    }
    return rows;
}

RECT RectIn(HWND control, HWND parent) {
    RECT box = {};
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&box), 2);
    return box;
}

std::string ShownTitle(HWND tabs) {
    wchar_t title[64] = {};
    TCITEMW item = {TCIF_TEXT, 0, 0, title, 64, 0, 0};
    SendMessageW(tabs, TCM_GETITEMW, SendMessageW(tabs, TCM_GETCURSEL, 0, 0),
                 reinterpret_cast<LPARAM>(&item));
    return Narrow(title);
}

bool IsFrame(HWND control) {
    return (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// The frame on the page whose rectangle holds the control.
HWND FrameAround(HWND page, HWND control) {
    const RECT box = RectIn(control, page);
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT frame = RectIn(child, page);
        if (IsFrame(child) && box.left >= frame.left && box.right <= frame.right &&
            box.top >= frame.top && box.bottom <= frame.bottom) {
            return child;
        }
    }
    return nullptr;
}

// Presses "OK" on the modal dialog once its loop runs.
void CALLBACK PressOk(HWND, UINT, UINT_PTR timer, DWORD) {
    if (HWND shown = FindWindowW(L"#32770", L"Cleaning Settings")) {
        KillTimer(nullptr, timer);
        SendMessageW(shown, WM_COMMAND, MAKEWPARAM(F::Command1, BN_CLICKED), 0);
    }
}

TEST_F(SettingsDialogTest, BoxesTickOnTheNumberOneAndOnWhatIsNoNumber) {
    test::WriteFileText(Settings(),
                        "[EXPLORER]\r\nlocation=0\r\nhistory=1\r\ncache= 1 \r\ncookies=1.0\r\n"
                        "favorites=yes\r\nautocomplete=\r\ndownloaded=2\r\n[opera]\r\nimages=0\r\n"
                        "[WINDOWS]\r\ntemp=01\r\n");
    Open();
    const std::set<std::string_view> cleared = {"Check1", "Check7", "Check59"};
    for (const CatalogueItem* item : DialogItems()) {
        // A box that asks first stays cleared until its key is set.
        EXPECT_EQ(Ticked(item->box.control),
                  cleared.count(item->box.control) == 0 && !item->box.asksFirst)
            << item->box.control;
        EXPECT_TRUE(IsWindowEnabled(Box(item->box.control))) << item->box.control;
    }
    for (const SelectAllBox& box : SelectAllBoxes()) {
        EXPECT_FALSE(Ticked(box.control)) << box.control;
    }
    EXPECT_TRUE(asked.empty());
}

TEST_F(SettingsDialogTest, EveryCatalogueRowHasOneBoxInItsFrameOnItsTab) {
    Open();
    EXPECT_EQ(GetText(dialog->hwnd()), "Cleaning Settings");
    EXPECT_EQ(TabTitles(Control(F::SSTab1)),
              "Browsers|Today's Browsers|Windows|Microsoft Office|Applications|Custom Item|"
              "Instant Messaging|Email Readers|Community Rules|");
    EXPECT_EQ(dialog->SubTabControl(0), Control(F::SSTab2));
    EXPECT_EQ(TabTitles(Control(F::SSTab2)),
              "Internet Explorer|Firefox|Opera|Netscape|AOL Explorer|MSN Explorer|Mozilla|"
              "Maxthon Browser|Google Chrome|Safari|");
    std::map<int, int> ids;
    std::vector<HWND> pages = dialog->Pages();
    for (int tab = 0; tab < static_cast<int>(dialog->Pages().size()); ++tab) {
        pages.insert(pages.end(), dialog->SubPages(tab).begin(), dialog->SubPages(tab).end());
    }
    for (HWND page : pages) {
        for (HWND c = GetWindow(page, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            ++ids[GetDlgCtrlID(c)];
        }
    }
    for (const CatalogueItem* item : DialogItems()) {
        SCOPED_TRACE(std::string(item->box.control));
        HWND box = Box(item->box.control);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(ids[F::CheckId(item->box.control)], 1);
        EXPECT_EQ(test::WithoutAccessKey(GetText(box)), item->box.caption);
        EXPECT_EQ(GetWindowLongW(box, GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
        Reveal(box);
        EXPECT_TRUE(IsWindowVisible(box));
        EXPECT_EQ(ShownTitle(Control(F::SSTab1)), item->box.tab);
        if (!item->box.subTab.empty()) {
            const int tab = static_cast<int>(SendMessageW(Control(F::SSTab1), TCM_GETCURSEL, 0, 0));
            EXPECT_EQ(ShownTitle(dialog->SubTabControl(tab)), item->box.subTab);
        }
        HWND frame = FrameAround(GetParent(box), box);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(GetText(frame), item->box.frame);
    }
    // Within a frame: left column first, top to bottom, in the tab order too.
    for (const PageModel& page : SettingsPages()) {
        for (const FrameModel& frame : page.frames) {
            std::vector<std::string_view> names;
            for (const CatalogueItem* row : frame.boxes) {
                names.push_back(row->box.control);
            }
            if (!frame.selectAll.empty()) {
                names.push_back(frame.selectAll);
                EXPECT_EQ(test::WithoutAccessKey(GetText(Box(frame.selectAll))),
                          "Select all of the above");
                EXPECT_EQ(FrameAround(GetParent(Box(frame.selectAll)), Box(frame.selectAll)),
                          FrameAround(GetParent(Box(names.front())), Box(names.front())));
            }
            for (std::size_t i = 1; i < names.size(); ++i) {
                HWND a = Box(names[i - 1]);
                HWND b = Box(names[i]);
                const RECT ra = RectIn(a, GetParent(a));
                const RECT rb = RectIn(b, GetParent(b));
                EXPECT_TRUE(rb.left > ra.left || (rb.left == ra.left && rb.top > ra.top))
                    << names[i - 1] << " before " << names[i];
                HWND next = GetWindow(a, GW_HWNDNEXT);
                if (GetDlgCtrlID(next) == F::Command7 || GetDlgCtrlID(next) == F::Command8) {
                    next = GetWindow(next, GW_HWNDNEXT);
                }
                EXPECT_EQ(next, b) << names[i - 1] << " then " << names[i];
            }
        }
    }
    EXPECT_EQ(GetText(Control(F::Frame5)), "Windows");
    EXPECT_EQ(GetText(Control(F::Frame6)), "MS Office(support 97, 2000, XP, 2003, 2007,2010)");
    EXPECT_EQ(GetText(Control(F::Frame7)), "Select Folder and Files That will Be Erased");
    // The keep-list buttons sit on the rows of the boxes whose items they keep.
    for (const auto& [button, beside] :
         {std::pair{F::Command7, "Check1"}, {F::Command8, "Check4"}}) {
        const RECT b = RectIn(Control(button), GetParent(Box(beside)));
        const RECT c = RectIn(Box(beside), GetParent(Box(beside)));
        EXPECT_EQ(GetText(Control(button)), "Options");
        EXPECT_GT(b.left, c.right);
        EXPECT_LE(std::abs((b.top + b.bottom) - (c.top + c.bottom)), 4);
    }
    EXPECT_EQ(GetText(Control(F::Command1)) + "|" + GetText(Control(F::Command3)), "OK|Cancel");
}

TEST_F(SettingsDialogTest, SelectAllSetsAndClearsItsOwnFrameOnly) {
    for (const CatalogueItem* item : DialogItems()) {
        Store(*item, "0");
    }
    Open();
    std::vector<std::string_view> all;
    for (const CatalogueItem* item : DialogItems()) {
        all.push_back(item->box.control);
    }
    for (const SelectAllBox& box : SelectAllBoxes()) {
        SCOPED_TRACE(std::string(box.control));
        std::set<std::string_view> members;
        for (const CatalogueItem* row : InFrame(box.frame)) {
            members.insert(row->box.control);
        }
        std::string expected;
        for (std::string_view control : all) {
            expected += members.count(control) != 0 ? '1' : '0';
        }
        ClickBox(box.control);
        EXPECT_EQ(States(all), expected);
        ClickBox(box.control);
        EXPECT_EQ(States(all), std::string(all.size(), '0'));
    }
    // Both questions were asked once, for Check9, and that of each browser's saved passwords
    // once, all answered OK.
    ASSERT_EQ(asked.size(), 2u + 8u);

    // Cancel to both leaves the favorites and the downloaded files; clearing asks nothing.
    asked.clear();
    answers = {IDCANCEL, IDCANCEL};
    ClickBox("Check9");
    EXPECT_EQ(States({"Check1", "Check2", "Check3", "Check4", "Check5", "Check6", "Check7",
                      "Check54", "Check135", "Check153", "Check154"}),
              "11110101111");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].text, "Are you sure delete IE Favorites?");
    EXPECT_EQ(asked[1].text, "Are you sure delete Downloaded Files?");
    for (const Asked& question : asked) {
        EXPECT_EQ(question.title, "Hushmark");
        EXPECT_EQ(question.type, static_cast<UINT>(MB_OKCANCEL));
    }
    ClickBox("Check9");
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(States(all), std::string(all.size(), '0'));
}

TEST_F(SettingsDialogTest, LeavingTheFavoritesOrDownloadedBoxTickedAsksToKeepIt) {
    Open();
    const auto leave = [&](const char* from, const char* to) {
        Reveal(Box(from));
        SetFocus(Box(from));
        SetFocus(Box(to));
        test::PumpPending();
    };
    answers = {IDCANCEL};
    leave("Check5", "Check6");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "Are you sure delete IE Favorites?");
    EXPECT_FALSE(Ticked("Check5"));
    leave("Check5", "Check6");  // a cleared box asks nothing
    leave("Check6", "Check2");  // nor does any other box
    EXPECT_EQ(asked.size(), 1u);
    answers = {IDOK};
    leave("Check7", "Check2");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].text, "Are you sure delete Downloaded Files?");
    EXPECT_EQ(asked[1].title, "Hushmark");
    EXPECT_TRUE(Ticked("Check7"));
}

TEST_F(SettingsDialogTest, BoxesOfAMissingMailProgramAreOffDisabledAndSavedOff) {
    const std::vector<const CatalogueItem*> outlook = InFrame("Outlook Express");
    const std::vector<const CatalogueItem*> mail = InFrame("Windows Live Mail");
    for (const auto* rows : {&outlook, &mail}) {
        for (const CatalogueItem* item : *rows) {
            Store(*item, "1");
        }
    }
    Store(*outlook[3], "0");
    installed = {test::kOutlookKey};
    Open();
    EXPECT_EQ(registryReads, (std::vector<std::string>{test::kOutlookKey + "|InstallRoot",
                                                       test::kLiveMailKey + "|Store Root"}));
    for (const CatalogueItem* item : outlook) {
        EXPECT_TRUE(IsWindowEnabled(Box(item->box.control))) << item->box.control;
        EXPECT_EQ(Ticked(item->box.control), item != outlook[3]) << item->box.control;
    }
    for (const CatalogueItem* item : mail) {
        EXPECT_FALSE(IsWindowEnabled(Box(item->box.control))) << item->box.control;
        EXPECT_FALSE(Ticked(item->box.control)) << item->box.control;
    }
    EXPECT_FALSE(IsWindowEnabled(Box("Check128")));
    EXPECT_TRUE(IsWindowEnabled(Box("Check127")));
    Save();
    for (const CatalogueItem* item : mail) {
        EXPECT_EQ(Stored(*item), "0") << item->box.control;
    }

    installed.clear();
    Open();
    for (const CatalogueItem* item : outlook) {
        EXPECT_FALSE(IsWindowEnabled(Box(item->box.control)));
        EXPECT_FALSE(Ticked(item->box.control));
    }
    EXPECT_FALSE(IsWindowEnabled(Box("Check127")));
    Save();
    for (const CatalogueItem* item : outlook) {
        EXPECT_EQ(Stored(*item), "0") << item->box.control;
    }

    // Without a stand-in, the dialog asks this system's registry.
    Open(true);
    const bool present = registry.GetRegString(test::kOutlookKey, "InstallRoot") != "Error";
    EXPECT_EQ(IsWindowEnabled(Box("Check110")) != FALSE, present);
}

TEST_F(SettingsDialogTest, OkWritesEveryKeyInTheDialogsSpellingAndCancelWritesNothing) {
    for (bool escape : {false, true}) {
        Open();
        ClickBox("Check1");
        ClickBox("Check59");
        if (escape) {
            SetFocus(Box("Check2"));
            MSG key = {GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
            IsDialogMessageW(dialog->hwnd(), &key);
        } else {
            Click(F::Command3);
        }
        EXPECT_EQ(dialog->hwnd(), nullptr);
    }
    EXPECT_TRUE(test::ListTree(program.path()).empty());

    Open();
    ClickBox("Check1");
    ClickBox("Check59");
    ClickBox("Check39");
    Save();
    for (const CatalogueItem* item : DialogItems()) {
        const bool off = item->box.control == "Check1" || item->box.control == "Check59" ||
                         item->box.control == "Check39" || item->box.asksFirst;
        EXPECT_EQ(Stored(*item), off ? "0" : "1") << item->box.control;
    }
    const std::string text = test::ReadFileText(Settings());
    EXPECT_EQ(std::count(text.begin(), text.end(), '='), 140 + 64);
    for (const char* spelled : {"[OPERA]", "\r\nImages=0", "[NETSCAPE]", "\r\npowerpoint=0"}) {
        EXPECT_NE(text.find(spelled), std::string::npos) << spelled;
    }

    // Shown modally, "OK" ends it with IDOK.
    SetTimer(nullptr, 0, 20, &PressOk);
    F modal(program.path(), registry, {});
    EXPECT_EQ(modal.ShowModal(nullptr), IDOK);
}

// On one page: controls inside it and apart (frames hold boxes), captions that fit their controls
// in their own font, and no access key used twice.
void ExpectPageLaidOut(HWND page, int dpi) {
    SCOPED_TRACE(GetText(GetParent(page)) + " page " +
                 std::to_string(reinterpret_cast<UINT_PTR>(page)));
    RECT client = {};
    GetClientRect(page, &client);
    std::vector<std::pair<HWND, RECT>> controls;
    std::vector<std::pair<HWND, RECT>> frames;
    std::string keys;
    for (HWND c = GetWindow(page, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c)) {
            continue;
        }
        const RECT box = RectIn(c, page);
        const std::string text = GetText(c);
        EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= client.right &&
                    box.bottom <= client.bottom)
            << text << " leaves the page";
        (IsFrame(c) ? frames : controls).emplace_back(c, box);
        if (const char key = AccessKeyOf(text)) {
            keys.push_back(key);
        }
        wchar_t kind[16] = {};
        GetClassNameW(c, kind, 16);
        if (lstrcmpiW(kind, L"Button") != 0 || text.empty()) {
            continue;
        }
        const LONG type = GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK;
        const int room =
            (box.right - box.left) -
            (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON ? 4 : MulDiv(16, dpi, 96));
        HDC dc = GetDC(c);
        const HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(c, WM_GETFONT, 0, 0)));
        RECT need = {0, 0, 0, 0};
        DrawTextW(dc, Widen(text).c_str(), -1, &need, DT_CALCRECT | DT_SINGLELINE);
        SelectObject(dc, old);
        ReleaseDC(c, dc);
        EXPECT_LE(need.right, room) << text;
        EXPECT_LE(need.bottom, box.bottom - box.top + (type == BS_GROUPBOX ? 0 : 2)) << text;
    }
    for (const auto* set : {&controls, &frames}) {
        for (std::size_t a = 0; a < set->size(); ++a) {
            for (std::size_t b = a + 1; b < set->size(); ++b) {
                RECT overlap = {};
                EXPECT_FALSE(IntersectRect(&overlap, &(*set)[a].second, &(*set)[b].second))
                    << GetText((*set)[a].first) << " and " << GetText((*set)[b].first);
            }
        }
    }
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(std::adjacent_find(keys.begin(), keys.end()), keys.end()) << keys;
}

TEST_F(SettingsDialogTest, EveryTabLaysItsControlsOutApartWithCaptionsThatFit) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    RecordProperty("dpi", dpi);
    Open();
    test::ExpectVisibleControlsApart(dialog->hwnd(), {F::SSTab1});
    // Every tab shows on the one row, none behind the scroll arrows.
    HWND tabs = Control(F::SSTab1);
    RECT strip = {};
    GetClientRect(tabs, &strip);
    RECT last = {};
    TabCtrl_GetItemRect(tabs, TabCtrl_GetItemCount(tabs) - 1, &last);
    EXPECT_LE(last.right, strip.right);
    for (std::size_t tab = 0; tab < dialog->Pages().size(); ++tab) {
        SelectTab(F::SSTab1, static_cast<int>(tab));
        HWND page = dialog->Pages()[tab];
        EXPECT_TRUE(IsWindowVisible(page));
        const std::vector<HWND>& subPages = dialog->SubPages(static_cast<int>(tab));
        if (subPages.empty()) {
            ExpectPageLaidOut(page, dpi);
            continue;
        }
        for (std::size_t sub = 0; sub < subPages.size(); ++sub) {
            SelectTab(dialog->SubTabControl(static_cast<int>(tab)), static_cast<int>(sub));
            ExpectPageLaidOut(subPages[sub], dpi);
            const RECT inner = RectIn(subPages[sub], page);
            RECT client = {};
            GetClientRect(page, &client);
            EXPECT_TRUE(inner.right <= client.right && inner.bottom <= client.bottom);
        }
    }
}

TEST_F(SettingsDialogTest, TheKeyboardReachesTheBoxesShownAndEnterSaves) {
    Open();
    Reveal(Box("Check1"));
    std::vector<int> order;
    HWND at = Box("Check1");
    for (int step = 0; step < 6; ++step) {
        at = GetNextDlgTabItem(dialog->hwnd(), at, FALSE);
        order.push_back(GetDlgCtrlID(at));
    }
    EXPECT_EQ(order, (std::vector<int>{F::Command7, F::CheckId("Check2"), F::CheckId("Check3"),
                                       F::CheckId("Check4"), F::Command8, F::CheckId("Check5")}));
    const auto press = [&](UINT message, WPARAM key) {
        MSG msg = {GetFocus(), message, key, message == WM_SYSCHAR ? (1 << 29) : 0, 0, {}};
        return IsDialogMessageW(dialog->hwnd(), &msg);
    };
    SetFocus(Box("Check1"));
    // A box's access key ticks or clears it; the same letter on a hidden tab does nothing there.
    const char key = AccessKeyOf(GetText(Box("Check2")));
    ASSERT_NE(key, 0);
    EXPECT_TRUE(press(WM_SYSCHAR, static_cast<WPARAM>(key)));
    EXPECT_FALSE(Ticked("Check2"));
    for (const CatalogueItem* item : DialogItems()) {
        if (item->box.control != "Check2") {
            EXPECT_EQ(Ticked(item->box.control), !item->box.asksFirst) << item->box.control;
        }
    }
    SetFocus(Box("Check1"));
    press(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(dialog->hwnd(), nullptr);
    EXPECT_EQ(ReadIniValue(Settings(), "EXPLORER", "history"), "0");
}

}  // namespace
}  // namespace hm
