// The application with its main window, driven in-process through its own messages: clicks go in
// as BM_CLICK and WM_COMMAND, and what the user would see is read back from the controls.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "app/gui_application.h"
#include "app/gui_controls.h"
#include "app/gui_notification_window.h"
#include "config/inifun.h"
#include "platform/text.h"
#include "support/gui_support.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using test::Probe;
using test::RowText;
using test::TempFolder;

constexpr const char* kClock = "1/2/2026 3:04:05 PM";
constexpr const char* kComplete = "Task complete Successfully!";

struct Box {
    HWND owner;
    std::string text;
    std::string title;
    UINT type;
};

class RecordingLauncher : public Launcher {
public:
    void Open(const std::string& target) override { opened.push_back(target); }
    void Start(const std::string& commandLine) override { started.push_back(commandLine); }
    std::vector<std::string> opened;
    std::vector<std::string> started;
};

std::string Roaming() {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, path);
    return Narrow(path);
}

class AppTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::InitCommonControlsForTests(); }

    AppTest() {
        AppServices services;
        services.launcher = &launcher;
        services.messageBox = [this](HWND owner, const std::wstring& text,
                                     const std::wstring& title, UINT type) {
            boxes.push_back({owner, Narrow(text), Narrow(title), type});
            return IDOK;
        };
        services.now = [] { return std::string(kClock); };
        services.endProcess = [this] { ++ended; };
        services.clock = [this] { return clock; };
        services.playSound = [this](const wchar_t* sound, HMODULE, DWORD) {
            sounds.push_back(Narrow(sound != nullptr ? sound : L""));
            return TRUE;
        };
        services_ = std::move(services);
    }
    ~AppTest() override {
        app.reset();
        test::RemoveTree(Roaming() + "\\Mozilla");
    }

    void Make(const std::string& commandLine = "") {
        app = std::make_unique<Application>(program.path(), commandLine, services_);
    }
    // Loads the main window as the splash does, without the splash's two seconds.
    void Load(const std::string& commandLine = "") {
        Make(commandLine);
        ASSERT_TRUE(app->Load(GetModuleHandleW(nullptr)));
    }
    std::string Settings() const { return program / "hushsd.dat"; }
    std::string Cookies() const {
        return Roaming() + "\\Mozilla\\Firefox\\Profiles\\p\\cookies.sqlite";
    }
    void TickFirefoxCookies(std::size_t bytes) {
        WriteIniValue(Settings(), "FIREFOX", "Cookies", "1");
        test::WriteFileOfSize(Cookies(), bytes);
    }

    HWND Main() const { return app->window().hwnd(); }
    HWND Control(int id) const { return app->window().Control(id); }
    std::string Text(int id) const { return GetText(Control(id)); }
    void Click(int id) { SendMessageW(Control(id), BM_CLICK, 0, 0); }
    void Command(int id) { SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    int Progress() const {
        return static_cast<int>(SendMessageW(Control(IDC_PROGRESS), PBM_GETPOS, 0, 0));
    }
    std::vector<RowText> Rows() const { return test::ListRows(Control(IDC_LISTVIEW1)); }

    TempFolder program;
    RecordingLauncher launcher;
    std::vector<Box> boxes;
    int ended = 0;
    std::vector<std::string> sounds;
    LocalTime clock{2026, 12, 5, 7, 21, 59};  // a Saturday
    AppServices services_;
    std::unique_ptr<Application> app;
};

TEST_F(AppTest, TheSplashLoadsTheMainWindowAndHandsOverToIt) {
    WriteIniValue(Settings(), "Options", "lastclean", "3/4/2025 10:00:00 AM");
    WriteIniValue(Settings(), "Options", "regnum", "12");
    WriteIniValue(Settings(), "Options", "filesize", "5242880");
    Make();
    ASSERT_TRUE(app->Start(GetModuleHandleW(nullptr)));
    ASSERT_NE(app->splash(), nullptr);
    HWND splash = app->splash()->hwnd();
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(GetText(splash), "Hushmark");
    // The main window is loaded behind the splash, not yet shown.
    ASSERT_NE(Main(), nullptr);
    EXPECT_FALSE(IsWindowVisible(Main()));
    EXPECT_EQ(Text(IDC_LABEL12), "3/4/2025 10:00:00 AM");
    EXPECT_EQ(Text(IDC_LABEL14), "  Cleaned Registry Keys: 12     Released HD Space:5.00MB");
    EXPECT_TRUE(app->trayIcon().added());
    // No settings for the boss key: it counts as on.
    EXPECT_TRUE(app->bossKey().enabled());

    app->splash()->FireTimer();
    EXPECT_FALSE(IsWindow(splash));
    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_EQ(GetText(Main()), "Hushmark V6.20");
    EXPECT_FALSE(app->window().StatusPanelShown());
    EXPECT_TRUE(IsWindowVisible(Control(IDC_LABEL14)));
    EXPECT_FALSE(IsWindowVisible(Control(IDC_LISTVIEW1)));
}

TEST_F(AppTest, EachPanelIsLaidOutWithoutOverlapsInsideTheWindow) {
    Load();
    for (bool status : {false, true}) {
        SCOPED_TRACE(status ? "status panel" : "home panel");
        if (status) {
            Click(IDC_IMAGE3);
        } else {
            Click(IDC_IMAGE1);
        }
        EXPECT_EQ(app->window().StatusPanelShown(), status);
        test::ExpectVisibleControlsApart(Main(), {IDC_STATUSFRAME, IDC_PICTURE1});
    }
    EXPECT_EQ(Text(IDC_WARNING),
              "It's highly recommended that you shut down all other programs when erase the "
              "tracks,Hushmark can not erase the files which being used by other programs.");
    EXPECT_EQ(Text(IDC_COMMAND1), "Start Cleaning >>");
    EXPECT_EQ(Text(IDC_IMAGE4), "Search and  Erase");
}

TEST_F(AppTest, StartCleaningRunsThePassIntoTheListAndEndsWithTheSummary) {
    TickFirefoxCookies(300);
    Load();
    Click(IDC_IMAGE3);
    Click(IDC_COMMAND1);

    EXPECT_EQ(Rows(), (std::vector<RowText>{{"Firefox Cookies", "Done"}, {kComplete, ""}}));
    EXPECT_FALSE(test::FileExists(Cookies()));
    EXPECT_EQ(Progress(), 100);
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_COMMAND1)));
    EXPECT_EQ(Text(IDC_SKINLABEL5), kComplete);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Task Complete");
    EXPECT_EQ(boxes[0].text,
              "Task complete Successfully! Cleaned Registry Keys: 0 Released HD Space:0.01MB");
    EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(boxes[0].owner, Main());
    EXPECT_EQ(Text(IDC_LABEL12), kClock);
    EXPECT_EQ(Text(IDC_LABEL14), "  Cleaned Registry Keys: 0     Released HD Space:0.01MB");
    EXPECT_TRUE(IsWindowVisible(Main()));

    // "Cancel" has no action: no pass, no message.
    Click(IDC_COMMAND2);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(Rows().size(), 2u);
}

// Long walks let window events run after each file, not only between items: the window repaints
// and the tray answers while a large folder is being searched.
TEST_F(AppTest, WindowEventsRunInsideALongFileWalk) {
    const std::string profile = Roaming() + "\\Mozilla\\Firefox\\Profiles\\p";
    for (int file = 0; file < 300; ++file) {
        test::WriteFileOfSize(profile + "\\f" + std::to_string(file), 1);
    }
    test::WriteFileOfSize(profile + "\\zz\\cookies.sqlite", 1);
    WriteIniValue(Settings(), "FIREFOX", "Cookies", "1");
    Load();
    // The probe posts itself again until it finds the item's row: one pump lets at most a few
    // hundred messages run, so it comes back in the pumps that follow, the walk's among them.
    Probe probe;
    std::vector<RowText> rowsThen;
    bool cookiesThen = false;
    std::function<void()> look = [&] {
        rowsThen = Rows();
        cookiesThen = test::FileExists(profile + "\\zz\\cookies.sqlite");
        if (rowsThen.empty() && probe.runs < 5000) {
            probe.Post(look);
        }
    };
    probe.Post(look);
    Click(IDC_COMMAND1);
    EXPECT_EQ(rowsThen,
              (std::vector<RowText>{{"Firefox Cookies", "Cleaning Firefox Cookies ......"}}));
    EXPECT_TRUE(cookiesThen);
    EXPECT_FALSE(test::FileExists(profile + "\\zz\\cookies.sqlite"));
}

TEST_F(AppTest, ASecondPassStartsFromAClearedBusyPanel) {
    TickFirefoxCookies(100);
    Load();
    Click(IDC_COMMAND1);
    ASSERT_EQ(Rows().size(), 2u);
    test::WriteFileOfSize(Cookies(), 100);

    Probe probe;
    std::vector<RowText> rowsThen;
    std::string captionThen = "unread";
    bool startEnabledThen = true;
    int progressThen = -1;
    bool waitCursorThen = false;
    probe.Post([&] {
        rowsThen = Rows();
        captionThen = Text(IDC_SKINLABEL5);
        startEnabledThen = IsWindowEnabled(Control(IDC_COMMAND1)) != FALSE;
        progressThen = Progress();
        waitCursorThen = GetCursor() == LoadCursorW(nullptr, IDC_WAIT);
    });
    Click(IDC_COMMAND1);

    ASSERT_EQ(probe.runs, 1);
    EXPECT_TRUE(rowsThen.empty());
    EXPECT_EQ(captionThen, "");
    EXPECT_FALSE(startEnabledThen);
    EXPECT_GE(progressThen, 1);
    EXPECT_LT(progressThen, 100);
    EXPECT_TRUE(waitCursorThen);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(Rows(), (std::vector<RowText>{{"Firefox Cookies", "Done"}, {kComplete, ""}}));
    EXPECT_EQ(boxes.size(), 2u);
}

// A tray "Clean Now" or a click that arrives while a pass runs is dropped, not nested.
TEST_F(AppTest, AStartRequestDuringThePassDoesNotNestASecondPass) {
    TickFirefoxCookies(100);
    Load();
    PostMessageW(Main(), WM_COMMAND, MAKEWPARAM(IDC_COMMAND1, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(IDC_COMMAND1)));
    PostMessageW(Main(), WM_COMMAND, MAKEWPARAM(IDM_CLEANNOW2, 0), 0);
    Probe probe;
    std::size_t boxesThen = 99;
    std::vector<RowText> rowsThen;
    probe.Post([&] {
        boxesThen = boxes.size();
        rowsThen = Rows();
    });

    Click(IDC_COMMAND1);

    ASSERT_EQ(probe.runs, 1);
    EXPECT_EQ(boxesThen, 0u);
    EXPECT_TRUE(rowsThen.empty());
    EXPECT_EQ(Rows(), (std::vector<RowText>{{"Firefox Cookies", "Done"}, {kComplete, ""}}));
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(app->values().BackgroundRun, 0);
}

// A pass nobody started from the window ends with a pop-up instead of a message box, and the
// window goes back to the tray.
TEST_F(AppTest, ATrayCleanNowEndsWithAPopUpAndHidesTheWindow) {
    TickFirefoxCookies(100);
    Load();
    ShowWindow(Main(), SW_SHOW);
    Command(IDM_CLEANNOW2);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(app->values().BackgroundRun, 0);
    EXPECT_FALSE(IsWindowVisible(Main()));
    EXPECT_FALSE(test::FileExists(Cookies()));

    // The pop-up pump shows it on its next tick, with the chime.
    SendMessageW(Main(), WM_TIMER, MainWindow::kTmrShowPopup, 0);
    frmNotification* popup = app->notifications().Popup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetText(popup->Control(frmNotification::kLblTitle)), "Hushmark");
    EXPECT_EQ(GetText(popup->Control(frmNotification::kLblDescription)),
              "Hushmark Clean is done! Cleaned Registry Keys: 0 Released HD Space:0.01MB");
    EXPECT_EQ(sounds, (std::vector<std::string>{program / "Sounds\\Message.wav"}));

    // A click on it thanks the user.
    SendMessageW(popup->hwnd(), WM_COMMAND,
                 MAKEWPARAM(frmNotification::kLblDescription, STN_CLICKED),
                 reinterpret_cast<LPARAM>(popup->Control(frmNotification::kLblDescription)));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Tnank you for using our product Hushmark");

    // The next pass started with the button ends with the message box again.
    test::WriteFileOfSize(Cookies(), 100);
    Click(IDC_COMMAND1);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].title, "Task Complete");
}

// Windows starts the program with "min": it goes to the tray at once and, unless the option is
// off, runs one pass from there, which ends with a pop-up (and, as every pass, by showing the
// window with its totals).
TEST_F(AppTest, StartedWithMinTheProgramHidesAndRunsTheStartUpPass) {
    TickFirefoxCookies(100);
    Load("min");
    Probe probe;
    bool visibleDuringThePass = true;
    probe.Post([&] { visibleDuringThePass = IsWindowVisible(Main()) != FALSE; });
    app->ShowMainWindow();
    EXPECT_EQ(probe.runs, 1);
    EXPECT_FALSE(visibleDuringThePass);
    EXPECT_EQ(app->values().StartupCommand, "");
    EXPECT_FALSE(test::FileExists(Cookies()));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(app->notifications().Waiting().size(), 1u);
    // Later activations do not hide the window again.
    app->OnActivated();
    EXPECT_TRUE(IsWindowVisible(Main()));
}

TEST_F(AppTest, OnlyMinExactlyStartsInTheTray) {
    WriteIniValue(Settings(), "Options", "WindowsStartup", "0");
    for (const char* command : {"MIN", "/min", "min "}) {
        SCOPED_TRACE(command);
        Load(command);
        app->ShowMainWindow();
        EXPECT_TRUE(IsWindowVisible(Main()));
    }
    Load("min");
    app->ShowMainWindow();
    EXPECT_FALSE(IsWindowVisible(Main()));
    // The option is off: no pass ran.
    EXPECT_TRUE(Rows().empty());
}

// The schedule tick comes twice a minute; the scheduled pass runs once in its minute, on its
// days only, in the background.
TEST_F(AppTest, TheScheduleRunsOnePassInTheScheduledMinuteOnItsDays) {
    WriteIniValue(Settings(), "Options", "CleanDays", "1000001");
    WriteIniValue(Settings(), "Options", "CleanTime", "22:00");
    TickFirefoxCookies(100);
    Load();
    ShowWindow(Main(), SW_SHOW);
    const auto tick = [&] { SendMessageW(Main(), WM_TIMER, MainWindow::kTimer1, 0); };
    tick();
    EXPECT_TRUE(Rows().empty());

    clock.minute = 0;
    clock.hour = 22;
    tick();
    EXPECT_FALSE(test::FileExists(Cookies()));
    EXPECT_FALSE(IsWindowVisible(Main()));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(app->notifications().Waiting().size(), 1u);
    test::WriteFileOfSize(Cookies(), 100);
    tick();
    EXPECT_TRUE(test::FileExists(Cookies()));

    // Monday at the same time: not a scheduled day.
    clock = {2026, 12, 7, 2, 22, 0};
    tick();
    EXPECT_TRUE(test::FileExists(Cookies()));
    // Sunday is.
    clock = {2026, 12, 6, 1, 22, 0};
    tick();
    EXPECT_FALSE(test::FileExists(Cookies()));
}

TEST_F(AppTest, TheExitOptionEndsTheProgramInsteadOfTheSummary) {
    TickFirefoxCookies(100);
    WriteIniValue(Settings(), "Options", "exit", "1");
    Load();
    Click(IDC_COMMAND1);
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(app->trayIcon().added());
    EXPECT_FALSE(app->bossKey().enabled());
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(test::FileExists(Cookies()));
    EXPECT_EQ(ReadIniValue(Settings(), "Options", "lastclean"), "");
    EXPECT_EQ(Progress(), 97);
}

TEST_F(AppTest, MenusOpenTheirTargetsAndStartTheCompanions) {
    Load();
    for (int id : {IDM_HELP1, IDM_OURWEBSITE, IDM_FRIEND, IDM_AFFILIATE, IDM_TESSARO,
                   IDM_CLEANREGISTRY, IDM_WEB, IDM_HELP2, IDC_IMAGE6, IDC_IMAGE9}) {
        Command(id);
    }
    const std::string windows = app->values().WindowsFolder;
    const std::string help = "\"" + windows + "\\hh.exe\" \"" + program.path() + "\\help.chm\"";
    const std::string shredder = "\"" + program.path() + "\\Tessaro.exe\"";
    const std::string cleaner = "\"" + program.path() + "\\Mobrin.exe\"";
    EXPECT_EQ(launcher.started,
              (std::vector<std::string>{help, shredder, cleaner, help, shredder, cleaner}));
    EXPECT_EQ(launcher.opened,
              (std::vector<std::string>{kWebsite, "mailto:", kAffiliatePage, kWebsite}));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(AppTest, TheTrayMenuListsItsItemsInOrderAndALeftClickRestores) {
    Load();
    SendMessageW(Main(), WM_CLOSE, 0, 0);
    // Closing hides the window; the program and its tray icon stay.
    EXPECT_TRUE(IsWindow(Main()));
    EXPECT_FALSE(IsWindowVisible(Main()));
    EXPECT_TRUE(app->trayIcon().added());

    SendMessageW(Main(), MainWindow::kTrayMessage, 1, WM_LBUTTONUP);
    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_FALSE(IsIconic(Main()));

    // The right click pops the menu up; it is cancelled at once so that the test goes on.
    PostMessageW(Main(), WM_CANCELMODE, 0, 0);
    SendMessageW(Main(), MainWindow::kTrayMessage, 1, WM_RBUTTONUP);
    HMENU menu = app->TrayMenu();
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> items;
    for (int index = 0; index < GetMenuItemCount(menu); ++index) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(index), text, 64, MF_BYPOSITION);
        items.push_back(text[0] == L'\0' ? "-" : Narrow(text));
    }
    EXPECT_EQ(items, (std::vector<std::string>{"Hushmark On the Web", "Help", "-", "Options", "-",
                                               "Settings", "-", "Restore", "-", "Analyze",
                                               "Clean Now", "-", "Exit"}));
}

TEST_F(AppTest, ImageButtonsSwitchPanelsAndShowABorderUnderTheMouse) {
    Load();
    SendMessageW(Control(IDC_IMAGE2), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    for (int id : MainWindow::kImageIds) {
        EXPECT_EQ(app->window().ImageBorder(id), id == IDC_IMAGE2) << id;
    }
    SendMessageW(Control(IDC_IMAGE10), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(app->window().ImageBorder(IDC_IMAGE10));
    EXPECT_FALSE(app->window().ImageBorder(IDC_IMAGE2));
    SendMessageW(Control(IDC_PICTURE1), WM_MOUSEMOVE, 0, MAKELPARAM(5, 470));
    for (int id : MainWindow::kImageIds) {
        EXPECT_FALSE(app->window().ImageBorder(id)) << id;
    }
    Click(IDC_IMAGE3);
    EXPECT_TRUE(app->window().StatusPanelShown());
    Click(IDC_IMAGE1);
    EXPECT_FALSE(app->window().StatusPanelShown());
}

// Folder windows stand in for every window the boss key hides: their class names are the ones
// it looks for.
TEST_F(AppTest, TheBossKeyHidesFolderWindowsAndBringsThemBack) {
    Load();
    test::TopLevelWindow folder(L"CabinetWClass", {100, 120, 400, 300});
    test::TopLevelWindow other(L"HushmarkTestOther", {50, 60, 300, 200});
    ASSERT_TRUE(app->bossKey().enabled());

    SendMessageW(Main(), WM_HOTKEY, 95, MAKELPARAM(8, 90));
    EXPECT_FALSE(IsWindowVisible(folder.hwnd()));
    EXPECT_TRUE(IsWindowVisible(other.hwnd()));
    SendMessageW(Main(), WM_HOTKEY, 111, MAKELPARAM(12, 90));
    EXPECT_TRUE(IsWindowVisible(folder.hwnd()));
    RECT box = {};
    GetWindowRect(folder.hwnd(), &box);
    EXPECT_EQ(box.left, 100);
    EXPECT_EQ(box.top, 120);

    // Off, the keys do nothing and the window procedure is the main window's own again.
    app->bossKey().Disable();
    SendMessageW(Main(), WM_HOTKEY, 95, MAKELPARAM(8, 90));
    EXPECT_TRUE(IsWindowVisible(folder.hwnd()));
}

TEST_F(AppTest, WithTheBossKeyOffInTheSettingsNoHotKeysAreTaken) {
    WriteIniValue(Settings(), "Options", "bosskey", "0");
    Load();
    EXPECT_FALSE(app->bossKey().enabled());
}

TEST_F(AppTest, MessagesForTheUserCarryTheirTitleAndIcon) {
    Load();
    app->window().Tell("Incorrect Format:", "Registry", MessageIcon::Exclamation);
    app->window().Tell("plain", "", MessageIcon::None);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Incorrect Format:");
    EXPECT_EQ(boxes[0].title, "Registry");
    EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(boxes[1].type & MB_ICONMASK, 0u);
}

// "Windows Shutdown": the main window's end-of-session query runs a pass before it answers.
TEST_F(AppTest, TheEndOfTheSessionRunsAPassWhenTheOptionIsOn) {
    TickFirefoxCookies(10);
    Load();
    EXPECT_EQ(SendMessageW(Main(), WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageW(Main(), WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(test::FileExists(Cookies()));
    WriteIniValue(Settings(), "Options", "WindowsShutdown", "1");
    EXPECT_EQ(SendMessageW(Main(), WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_FALSE(test::FileExists(Cookies()));
    SendMessageW(Main(), WM_ENDSESSION, FALSE, 0);
}

// A timer stands in for the user: it closes the first modal window the main window owns and
// remembers its caption.
HWND g_owner = nullptr;
std::vector<std::string> g_opened;

BOOL CALLBACK CloseIfOwned(HWND window, LPARAM) {
    if (GetWindow(window, GW_OWNER) != g_owner || !IsWindowVisible(window)) {
        return TRUE;
    }
    g_opened.push_back(GetText(window));
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return FALSE;
}

void CALLBACK CloseOwnedWindow(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), &CloseIfOwned, 0);
}

TEST_F(AppTest, TheCleanItemsDialogAndTheSearchWindowOpenModallyFromEachWayIn) {
    Load();
    g_owner = Main();
    g_opened.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, &CloseOwnedWindow);
    for (int id : {IDC_IMAGE2, IDM_CLEANSETTINGS, IDM_SETTINGS1, IDC_IMAGE4, IDM_SEARCHANDERASE}) {
        Command(id);
        EXPECT_TRUE(IsWindowEnabled(Main())) << id;
    }
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_opened, (std::vector<std::string>{"Cleaning Settings", "Cleaning Settings",
                                                  "Cleaning Settings", "Search & Erase",
                                                  "Search & Erase"}));
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
}  // namespace hm
