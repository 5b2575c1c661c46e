// The options dialog driven in-process: values go in through its controls' own messages, and what
// it saves is read back from the settings file, the registry and the shared values. The Run key
// and Internet Explorer values it writes are real; the fixture puts back what was there.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <optional>
#include <vector>

#include "app/gui_controls.h"
#include "app/gui_options_dialog.h"
#include "app/options_rules.h"
#include "app/schedule_rules.h"
#include "config/inifun.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "support/gui_support.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using F = Frmoption;
using Ids = std::vector<int>;
const Ids kOptionBoxes = {F::Check1, F::Check2, F::Check3, F::Check4,
                          F::Check6, F::Check7, F::Check8};
const Ids kDays(F::kDayBoxes.begin(), F::kDayBoxes.end());

// Splits "HKEY_...\sub\key" for the test's own registry calls.
std::pair<HKEY, std::string> Split(const std::string& path) {
    const std::size_t slash = path.find('\\');
    return {ToHkey(Regfun::RootKeyFromName(path.substr(0, slash))), path.substr(slash + 1)};
}

// Remembers one registry value, or that it or its key was missing, and puts that back.
class SavedValue {
public:
    SavedValue(HKEY root, std::string subKey, std::string name)
        : root_(root), subKey_(std::move(subKey)), name_(Widen(name)) {
        RegKey key;
        for (std::size_t at = 0; at != std::string::npos; at = subKey_.find('\\', at + 1)) {
            const std::string path = subKey_.substr(0, subKey_.find('\\', at + 1));
            if (key.Open(root_, path, KEY_READ) != ERROR_SUCCESS) {
                firstMissing_ = path;  // this key and all below it are the test's own
                return;
            }
        }
        DWORD size = 0;
        if (RegQueryValueExW(key.get(), name_.c_str(), nullptr, &type_, nullptr, &size) == 0) {
            data_.emplace(size);
            RegQueryValueExW(key.get(), name_.c_str(), nullptr, &type_, data_->data(), &size);
        }
    }
    ~SavedValue() {
        if (!firstMissing_.empty()) {
            DeleteRegistryTree(root_, firstMissing_);
            return;
        }
        RegKey key;
        key.Open(root_, subKey_, KEY_SET_VALUE);
        if (data_) {
            RegSetValueExW(key.get(), name_.c_str(), 0, type_, data_->data(),
                           static_cast<DWORD>(data_->size()));
        } else {
            RegDeleteValueW(key.get(), name_.c_str());
        }
    }
    SavedValue(const SavedValue&) = delete;
    SavedValue& operator=(const SavedValue&) = delete;

private:
    HKEY root_;
    std::string subKey_, firstMissing_;
    std::wstring name_;
    DWORD type_ = REG_NONE;
    std::optional<std::vector<BYTE>> data_;
};

struct Stored {
    std::string text;
    DWORD type = REG_NONE;
    DWORD bytes = sizeof(wchar_t[511]);
};
std::optional<Stored> ReadValue(const std::string& path, const std::string& name) {
    const auto [root, subKey] = Split(path);
    RegKey key;
    wchar_t buffer[512] = {};
    Stored stored;
    if (key.Open(root, subKey, KEY_READ) != ERROR_SUCCESS ||
        RegQueryValueExW(key.get(), Widen(name).c_str(), nullptr, &stored.type,
                         reinterpret_cast<BYTE*>(buffer), &stored.bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    stored.text = Narrow(buffer);
    return stored;
}

void SetValue(const std::string& path, const char* name, const std::optional<std::string>& text) {
    const auto [root, subKey] = Split(path);
    RegKey key;
    ASSERT_EQ(key.Create(root, subKey, KEY_SET_VALUE), ERROR_SUCCESS) << path;
    if (text) {
        key.SetString(name, *text);
    } else {
        key.DeleteValue(name);
    }
}

const std::string kMachineRun = std::string("HKEY_LOCAL_MACHINE\\") + kRunSubKey;
const std::string kUserRun = std::string("HKEY_CURRENT_USER\\") + kRunSubKey;

class MachineRefused : public RunKeyWriter {
public:
    bool Write(RootKey root, const std::string& commandLine) override {
        refused += root == kLocalMachine;
        return root != kLocalMachine && RunKeyWriter::Write(root, commandLine);
    }
    int refused = 0;
};

std::string WithoutAccessKey(std::string text) {
    std::erase(text, '&');
    return text;
}

// A caption fits its control in the control's own font: on one line, or wrapped in a label tall
// enough for more. Check boxes and frames keep room for their box and edges.
void ExpectTextFits(HWND control, int dpi) {
    const std::wstring text = Widen(GetText(control));
    wchar_t kind[16] = {};
    GetClassNameW(control, kind, 16);
    const bool button = lstrcmpiW(kind, L"Button") == 0;
    if (text.empty() || !(button || lstrcmpiW(kind, L"Static") == 0)) {
        return;
    }
    const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    RECT box = {};
    GetClientRect(control, &box);
    if (button && type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) {
        box.right -= MulDiv(16, dpi, 96);
    }
    HDC dc = GetDC(control);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    const bool wraps = !button && box.bottom >= 2 * metrics.tmHeight;
    RECT need = {0, 0, box.right, 0};
    DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    EXPECT_LE(need.right, box.right) << Narrow(text);
    EXPECT_LE(need.bottom, box.bottom) << Narrow(text);
}

// Presses "OK" on the modal dialog once its loop runs.
void CALLBACK PressOk(HWND, UINT, UINT_PTR timer, DWORD) {
    if (HWND dialog = FindWindowW(L"#32770", L"Options")) {
        KillTimer(nullptr, timer);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(F::Command1, BN_CLICKED), 0);
    }
}

class OptionsDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::InitCommonControlsForTests(); }

    OptionsDialogTest() {
        for (const char* key : kIeMainKeys) {
            const auto [root, subKey] = Split(key);
            saved_.push_back(std::make_unique<SavedValue>(root, subKey, kStartPageValue));
            saved_.push_back(std::make_unique<SavedValue>(root, subKey, kWindowTitleValue));
        }
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            saved_.push_back(std::make_unique<SavedValue>(root, kRunSubKey, kRunValueName));
        }
        SetValue(kCurrentUserIeMain, kStartPageValue, std::nullopt);
        SetValue(kCurrentUserIeMain, kWindowTitleValue, std::nullopt);
        SetValue(kMachineRun, kRunValueName, std::nullopt);
        SetValue(kUserRun, kRunValueName, std::nullopt);
    }
    ~OptionsDialogTest() override { dialog.reset(); }

    void Open(RunKeyWriter* writer = nullptr) {
        dialog = std::make_unique<Frmoption>(program.path(), registry, values,
                                             [this](bool on) { switches.push_back(on); });
        if (writer != nullptr) {
            dialog->SetRunKeyWriter(*writer);
        }
        ASSERT_TRUE(dialog->ShowModeless(nullptr));
    }
    void Save() {
        Click(F::Command1);
        ASSERT_EQ(dialog->hwnd(), nullptr);
    }
    void SaveAndReopen() {
        Save();
        Open();
    }
    std::string Option(const char* key) const {
        return ReadIniValue(program / "hushsd.dat", kOptionsSection, key);
    }
    std::string Options(std::initializer_list<const char*> keys) const {
        std::string joined;
        for (const char* key : keys) {
            joined += Option(key) + " ";
        }
        return joined;
    }
    void SetOption(const char* key, const char* value) {
        WriteIniValue(program / "hushsd.dat", kOptionsSection, key, value);
    }
    std::string RunEntries() const {
        return std::string(ReadValue(kMachineRun, kRunValueName) ? "machine " : "") +
               (ReadValue(kUserRun, kRunValueName) ? "user" : "");
    }
    HWND Control(int id) const { return dialog->Control(id); }
    std::string Text(int id) const { return GetText(Control(id)); }
    void SetControlText(int id, const std::string& text) { SetText(Control(id), text); }
    // The boxes' states as "1" and "0" characters.
    std::string Boxes(const Ids& ids) const {
        std::string states;
        for (int id : ids) {
            states += FlagText(SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED);
        }
        return states;
    }
    // As the user would: brings the control's tab to the front, then clicks.
    void Click(int id) {
        if (id / 100 >= 21) {
            SelectTab(id / 100 - 21);
        }
        SendMessageW(Control(id), BM_CLICK, 0, 0);
    }
    void SetBoxes(const Ids& ids, const std::string& states) {
        for (std::size_t index = 0; index < ids.size(); ++index) {
            if (Boxes({ids[index]})[0] != states[index]) {
                Click(ids[index]);
            }
        }
    }
    void SelectTab(int page) {
        SendMessageW(Control(F::Tabs), TCM_SETCURSEL, page, 0);
        NMHDR header = {Control(F::Tabs), static_cast<UINT_PTR>(F::Tabs), TCN_SELCHANGE};
        SendMessageW(dialog->hwnd(), WM_NOTIFY, F::Tabs, reinterpret_cast<LPARAM>(&header));
    }
    // A key as the message loop hands it to the dialog manager, with the focus on the control.
    bool Press(int focus, UINT message, WPARAM key) {
        SetFocus(Control(focus));
        MSG msg = {GetFocus(), message, key, message == WM_SYSCHAR ? (1 << 29) : 0, 0, {}};
        return IsDialogMessageW(dialog->hwnd(), &msg);
    }

    test::TempFolder program;
    test::RecordingMessages messages;
    Regfun registry{messages};
    SharedValues values;
    std::vector<bool> switches;
    std::vector<std::unique_ptr<SavedValue>> saved_;
    std::unique_ptr<Frmoption> dialog;
};

TEST_F(OptionsDialogTest, LoadShowsTheStoredOptionsOrTicksWhatIsMissing) {
    test::WriteFileText(program / "hushsd.dat",
                        "[Options]\r\nbosskey=0\r\nstartup=1\r\nautoclean=\r\nexit=yes\r\n"
                        "securely=2\r\nWindowsStartup=1\r\nCleanDays=0100101\r\n"
                        "CleanTime=21:30\r\n");
    SetValue(kCurrentUserIeMain, kStartPageValue, "http://start.example/");
    SetValue(kCurrentUserIeMain, kWindowTitleValue, "Quiet Browser");
    Open();
    EXPECT_EQ(GetText(dialog->hwnd()), "Options");
    // Empty, missing (Check8) and text values count as 1; other numbers do not.
    EXPECT_EQ(Boxes(kOptionBoxes), "0111011");
    EXPECT_EQ(Boxes(kDays), "0100101");
    EXPECT_EQ(Boxes({F::chkDaily}), "0");
    std::string times;
    for (int index = 0; index < SendMessageW(Control(F::cmbStartTime), CB_GETCOUNT, 0, 0);
         ++index) {
        wchar_t entry[16] = {};
        SendMessageW(Control(F::cmbStartTime), CB_GETLBTEXT, index,
                     reinterpret_cast<LPARAM>(entry));
        times += Narrow(entry) + (index % 12 == 11 ? "\n" : " ");
    }
    EXPECT_EQ(times,
              "0:00 0:30 1:00 1:30 2:00 2:30 3:00 3:30 4:00 4:30 5:00 5:30\n"
              "6:00 6:30 7:00 7:30 8:00 8:30 9:00 9:30 10:00 10:30 11:00 11:30\n"
              "12:00 12:30 13:00 13:30 14:00 14:30 15:00 15:30 16:00 16:30 17:00 17:30\n"
              "18:00 18:30 19:00 19:30 20:00 20:30 21:00 21:30 22:00 22:30 23:00 23:30\n");
    EXPECT_EQ(Text(F::cmbStartTime), "21:30");
    EXPECT_EQ(Text(F::Text1), "http://start.example/");
    EXPECT_EQ(Text(F::Text2), "Quiet Browser");

    DeleteFileW(Widen(program / "hushsd.dat").c_str());
    SetValue(kCurrentUserIeMain, kStartPageValue, std::nullopt);
    SetValue(kCurrentUserIeMain, kWindowTitleValue, std::nullopt);
    Open();
    EXPECT_EQ(Boxes(kOptionBoxes), "1111111");
    EXPECT_EQ(Boxes(kDays), "0000000");
    EXPECT_EQ(Text(F::cmbStartTime), "");
    // Missing browser values show empty; "Error" would be saved as the start page.
    EXPECT_EQ(Text(F::Text1), "");
    EXPECT_EQ(Text(F::Text2), "");
}

TEST_F(OptionsDialogTest, RunDailyAndOkStoreTheScheduleAndHandItOverAtOnce) {
    SetOption(kCleanDaysKey, "0100000");
    Open();
    Click(F::chkFriday);
    Click(F::chkDaily);
    EXPECT_EQ(Boxes(kDays), "1111111");
    Click(F::chkDaily);  // clears all, also those ticked one by one
    EXPECT_EQ(Boxes(kDays), "0000000");
    Click(F::chkSunday);
    Click(F::chkSaturday);
    SetBoxes(kOptionBoxes, "1100110");
    SetControlText(F::cmbStartTime, "22:00");
    Save();
    EXPECT_EQ(Options({kAutoCleanKey, kExitKey, kSecurelyKey, kWindowsStartupKey,
                       kWindowsShutdownKey, kCleanDaysKey, kCleanTimeKey}),
              "0 0 1 1 0 1000001 22:00 ");
    EXPECT_EQ(values.DayFlags, (std::array<std::string, 7>{"1", "0", "0", "0", "0", "0", "1"}));
    EXPECT_EQ(values.CleanTime, "22:00");
    // The next tick sees it: Saturday 2026-03-07 at 22:00 is due, the Friday before is not.
    EXPECT_TRUE(IsScheduleDue(values.DayFlags, values.CleanTime, {2026, 3, 7, 7, 22, 0}));
    EXPECT_FALSE(IsScheduleDue(values.DayFlags, values.CleanTime, {2026, 3, 6, 6, 22, 0}));
}

TEST_F(OptionsDialogTest, ShownModallyOkSavesAndEndsItWithIdok) {
    SetTimer(nullptr, 0, 20, &PressOk);
    Frmoption modal(program.path(), registry, values, {});
    EXPECT_EQ(modal.ShowModal(nullptr), IDOK);
    EXPECT_EQ(modal.hwnd(), nullptr);
    EXPECT_EQ(Option(kCleanDaysKey), "0000000");
}

TEST_F(OptionsDialogTest, CancelAndEscapeWriteNothing) {
    SetValue(kCurrentUserIeMain, kStartPageValue, "http://kept.example/");
    values.CleanTime = "7:00";
    for (bool escape : {false, true}) {
        Open();
        SetBoxes(kOptionBoxes, "0000000");
        Click(F::chkDaily);
        SetControlText(F::Text1, "");
        SetControlText(F::cmbStartTime, "8:30");
        if (escape) {
            Press(F::Text1, WM_KEYDOWN, VK_ESCAPE);
        } else {
            Click(F::Command2);
        }
        EXPECT_EQ(dialog->hwnd(), nullptr);
    }
    EXPECT_FALSE(test::FileExists(program / "hushsd.dat"));
    EXPECT_EQ(ReadValue(kCurrentUserIeMain, kStartPageValue)->text, "http://kept.example/");
    EXPECT_EQ(values.CleanTime, "7:00");
    EXPECT_TRUE(switches.empty());
}

TEST_F(OptionsDialogTest, EmptyBrowserTextsAreWrittenAsOneBlankUnderAllThreeKeys) {
    for (const char* key : kIeMainKeys) {
        SetValue(key, kStartPageValue, "http://old.example/");
        SetValue(key, kWindowTitleValue, "Old Title");
    }
    SetValue(kCurrentUserIeMain, kStartPageValue, std::nullopt);
    Open();
    SetControlText(F::Text2, "");
    SaveAndReopen();
    for (const char* key : kIeMainKeys) {
        EXPECT_EQ(ReadValue(key, kStartPageValue)->text, " ") << key;
        EXPECT_EQ(ReadValue(key, kWindowTitleValue)->text, " ") << key;
    }
    SetControlText(F::Text1, "http://new.example/");
    SetControlText(F::Text2, "New Title");
    Save();
    for (const char* key : kIeMainKeys) {
        EXPECT_EQ(ReadValue(key, kStartPageValue)->text, "http://new.example/") << key;
        EXPECT_EQ(ReadValue(key, kWindowTitleValue)->text, "New Title") << key;
    }
}

TEST_F(OptionsDialogTest, StartWithWindowsWritesOneQuotedRunEntryAndUncheckingRemovesIt) {
    const std::string command = "\"" + program.path() + "\\hushmark.exe\" min";
    SetOption(kStartupKey, "0");
    Open();
    Click(F::Check2);
    SaveAndReopen();
    const auto machine = ReadValue(kMachineRun, kRunValueName);
    ASSERT_TRUE(machine.has_value());
    EXPECT_EQ(machine->text, command);
    EXPECT_EQ(machine->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(machine->bytes, (Widen(command).size() + 1) * sizeof(wchar_t));  // with its NUL
    EXPECT_EQ(RunEntries(), "machine ");
    EXPECT_EQ(Option(kStartupKey), "1");
    Click(F::Check2);
    Save();
    EXPECT_EQ(RunEntries(), "");
    EXPECT_EQ(Option(kStartupKey), "0");

    // A user who may not write the machine's key gets the entry in their own.
    MachineRefused writer;
    Open(&writer);
    Click(F::Check2);
    SaveAndReopen();
    EXPECT_EQ(writer.refused, 1);
    EXPECT_EQ(RunEntries(), "user");
    EXPECT_EQ(ReadValue(kUserRun, kRunValueName)->text, command);
    // Saved later with the rights, the machine's entry replaces it, so the program starts once.
    SaveAndReopen();
    EXPECT_EQ(RunEntries(), "machine ");
    SetValue(kUserRun, kRunValueName, "stale");
    Click(F::Check2);
    Save();
    EXPECT_EQ(RunEntries(), "");
}

TEST_F(OptionsDialogTest, TheBossKeyIsSwitchedOnlyWhenItGoesOnOrOff) {
    SetOption(kBossKeyKey, "0");
    Open();
    Click(F::Check1);
    SaveAndReopen();
    EXPECT_EQ(Option(kBossKeyKey), "1");
    SaveAndReopen();  // saving again with the box on registers nothing more
    EXPECT_EQ(switches, std::vector<bool>{true});
    Click(F::Check1);
    SaveAndReopen();
    EXPECT_EQ(Option(kBossKeyKey), "0");
    Save();
    EXPECT_EQ(switches, (std::vector<bool>{true, false}));
    // A missing value is on, as at start-up: saving it on changes nothing, unchecking it
    // switches the boss key off and stores that.
    DeleteFileW(Widen(program / "hushsd.dat").c_str());
    Open();
    SaveAndReopen();
    EXPECT_EQ(switches.size(), 2u);
    EXPECT_EQ(Option(kBossKeyKey), "");
    Click(F::Check1);
    Save();
    EXPECT_EQ(switches, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(Option(kBossKeyKey), "0");
}

TEST_F(OptionsDialogTest, EachTabShowsItsOwnPageWithCaptionsThatFit) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    RecordProperty("dpi", dpi);
    Open();
    const char* titles[] = {"General", "Schedule", "Homepage"};
    // Every control's text in tab order, "&" taken out.
    const char* texts[] = {
        "Load Hushmark on Windows Start Up|Automatically check for new versions|Exit after "
        "cleaning|Enable Securely Cleaning|Overwrites each file before it is deleted; this makes "
        "cleaning slower.|Boss Key|Enable Boss Key|If this is checked,you can "
        "press the Hotkey Windows key + Z to hide all IE windows,and windows key + Shift + Z to "
        "show all IE windows.you can hide the browser windows and folder windows when your boss "
        "or anyone else you don't want to see your screen comes in.|",
        "Schedule|Run Cleaning at|Windows Startup|Windows Shutdown|Schedule|Start clean at||Sunday|"
        "Monday|Tuesday|Wednesday|Thursday|Friday|Saturday|Run daily|",
        "|Internet Explorer Home Page Settings|Prevent your home page from being changed by "
        "websites|IE Home Page|Reset HomePage To||Window Title||"};
    for (int page = 0; page < F::kPageCount; ++page) {
        SCOPED_TRACE(titles[page]);
        SelectTab(page);
        wchar_t title[32] = {};
        TCITEMW item = {TCIF_TEXT, 0, 0, title, 32, 0, 0};
        SendMessageW(Control(F::Tabs), TCM_GETITEMW, page, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(Narrow(title), titles[page]);
        for (int other = 0; other < F::kPageCount; ++other) {
            EXPECT_EQ(IsWindowVisible(dialog->PageWindow(other)) != FALSE, other == page);
        }
        HWND shown = dialog->PageWindow(page);
        test::ExpectVisibleControlsApart(
            shown, {IDC_OPT_BOSSKEYFRAME, IDC_OPT_RUNATFRAME, IDC_OPT_STARTATFRAME,
                    IDC_OPT_PROTECTFRAME, IDC_OPT_HOMEPAGEFRAME});
        std::string captions;
        std::string keys;  // access keys: one control each on a page
        for (HWND child = GetWindow(shown, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            const std::string text = GetText(child);
            captions += WithoutAccessKey(text) + "|";
            if (const std::size_t amp = text.find('&'); amp != std::string::npos) {
                keys += static_cast<char>(std::tolower(text[amp + 1]));
            }
            ExpectTextFits(child, dpi);
        }
        EXPECT_EQ(captions, texts[page]);
        std::sort(keys.begin(), keys.end());
        EXPECT_EQ(std::adjacent_find(keys.begin(), keys.end()), keys.end()) << keys;
    }
    test::ExpectVisibleControlsApart(dialog->hwnd(), {F::Tabs});
    EXPECT_EQ(Text(F::Command1) + "|" + Text(F::Command2), "OK|Cancel");
}

TEST_F(OptionsDialogTest, TheKeyboardReachesOnlyThePageShownAndEnterSaves) {
    Open();
    Ids order;
    HWND at = Control(F::Tabs);
    for (int step = 0; step < 9; ++step) {
        at = GetNextDlgTabItem(dialog->hwnd(), at, FALSE);
        order.push_back(GetDlgCtrlID(at));
    }
    EXPECT_EQ(order, (Ids{F::Check2, F::Check3, F::Check4, F::Check6, F::Check1, F::Command1,
                          F::Command2, F::Tabs, F::Check2}));
    EXPECT_TRUE(Press(F::Tabs, WM_SYSCHAR, 'b'));
    EXPECT_EQ(Boxes({F::Check1}), "0");
    // "R" is Saturday's on its tab and the start page's on another.
    SelectTab(F::kSchedule);
    Press(F::Tabs, WM_SYSCHAR, 'r');
    EXPECT_EQ(Boxes({F::chkSaturday}), "1");
    SelectTab(F::kHomepage);
    Press(F::Tabs, WM_SYSCHAR, 'r');
    EXPECT_EQ(GetFocus(), Control(F::Text1));
    Press(F::Text1, WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(dialog->hwnd(), nullptr);
    EXPECT_EQ(Option(kCleanDaysKey), "0000001");
    EXPECT_EQ(Option(kBossKeyKey), "0");
}

}  // namespace
}  // namespace hm
