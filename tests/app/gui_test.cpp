// The main window driven in-process through its own messages: clicks go in as BM_CLICK, and
// what the user would see is read back from the controls.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "app/gui_controls.h"
#include "app/gui_main_window.h"
#include "config/inifun.h"
#include "platform/text.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using test::TempFolder;

constexpr const char* kClock = "1/2/2026 3:04:05 PM";
constexpr const char* kComplete = "Task complete Successfully!";

struct Box {
    HWND owner;
    std::string text;
    std::string title;
    UINT type;
};

struct RowText {
    std::string item;
    std::string status;
    bool operator==(const RowText&) const = default;
};

void PrintTo(const RowText& row, std::ostream* out) {
    *out << "{" << row.item << " | " << row.status << "}";
}

// A hidden window that runs a callback when the pass lets pending messages run, so a test can
// look at the main window in the middle of a pass.
class Probe {
public:
    Probe() {
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &Probe::Proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"HushmarkTestProbe";
        RegisterClassExW(&windowClass);  // fails harmlessly when already registered
        hwnd_ = CreateWindowExW(0, L"HushmarkTestProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Probe() { DestroyWindow(hwnd_); }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    void Post(std::function<void()> action) {
        action_ = std::move(action);
        PostMessageW(hwnd_, WM_APP, 0, 0);
    }
    int runs = 0;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Probe*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_APP && self != nullptr) {
            ++self->runs;
            if (self->action_) {
                self->action_();
            }
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    HWND hwnd_ = nullptr;
    std::function<void()> action_;
};

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls = {sizeof(controls),
                                         ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
    }

    MainWindowTest() {
        values.AppDataFolder = home / "Roaming";
        values.LocalAppDataFolder = home / "Local";
        test::MakeFolders(values.AppDataFolder);
        test::MakeFolders(values.LocalAppDataFolder);
        window = std::make_unique<MainWindow>(values, program.path(),
                                              [] { return std::string(kClock); });
        window->SetMessageBox(
            [this](HWND owner, const std::wstring& text, const std::wstring& title, UINT type) {
                boxes.push_back({owner, Narrow(text), Narrow(title), type});
                return IDOK;
            });
    }

    ~MainWindowTest() override {
        window.reset();
        // Destroying the main window asks the (absent) message loop to quit.
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    void Create() { ASSERT_TRUE(window->Create(GetModuleHandleW(nullptr))); }
    std::string Settings() const { return program / "hushsd.dat"; }
    std::string Cookies() const {
        return values.AppDataFolder + "\\Mozilla\\Firefox\\Profiles\\p\\cookies.sqlite";
    }
    void TickFirefoxCookies(std::size_t bytes) {
        WriteIniValue(Settings(), "FIREFOX", "Cookies", "1");
        test::WriteFileOfSize(Cookies(), bytes);
    }

    HWND Control(int id) const { return window->Control(id); }
    std::string Text(int id) const { return GetText(Control(id)); }
    void Click(int id) { SendMessageW(Control(id), BM_CLICK, 0, 0); }
    int Progress() const {
        return static_cast<int>(SendMessageW(Control(MainWindow::kProgressBar), PBM_GETPOS, 0, 0));
    }

    std::vector<RowText> Rows() const {
        HWND list = Control(MainWindow::kListView1);
        std::vector<RowText> rows;
        const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < count; ++row) {
            rows.push_back({CellText(list, row, 0), CellText(list, row, 1)});
        }
        return rows;
    }

    static std::string CellText(HWND list, int row, int column) {
        wchar_t buffer[512] = {};
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = 512;
        SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        return Narrow(buffer);
    }

    TempFolder program;
    TempFolder home;
    SharedValues values;
    std::unique_ptr<MainWindow> window;
    std::vector<Box> boxes;
};

TEST_F(MainWindowTest, ShowsTheStatusPanelLaidOutWithoutOverlaps) {
    Create();
    HWND main = window->hwnd();
    EXPECT_EQ(GetText(main), "Hushmark V6.20");
    EXPECT_EQ(Text(MainWindow::kStatusFrame), "Status");
    EXPECT_EQ(Text(MainWindow::kCommand1), "Start Cleaning >>");
    EXPECT_EQ(Text(MainWindow::kCommand2), "Cancel");
    EXPECT_EQ(Text(MainWindow::kWarning),
              "It's highly recommended that you shut down all other programs when erase the "
              "tracks,Hushmark can not erase the files which being used by other programs.");

    HWND list = Control(MainWindow::kListView1);
    EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    const char* headers[] = {"Item", "Status"};
    for (int index = 0; index < 2; ++index) {
        wchar_t buffer[64] = {};
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = buffer;
        column.cchTextMax = 64;
        ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, index, reinterpret_cast<LPARAM>(&column)));
        EXPECT_EQ(Narrow(buffer), headers[index]);
        EXPECT_GT(column.cx, 100) << headers[index];
    }
    PBRANGE range = {};
    SendMessageW(Control(MainWindow::kProgressBar), PBM_GETRANGE, FALSE,
                 reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);

    // Every control lies inside the client area, the status panel's inside its frame, and no
    // two controls other than the frame share a pixel.
    RECT client = {};
    GetClientRect(main, &client);
    const auto boxOf = [&](int id) {
        RECT box = {};
        GetWindowRect(Control(id), &box);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&box), 2);
        return box;
    };
    const int homeArea[] = {MainWindow::kProductName, MainWindow::kTagline,
                            MainWindow::kLastCleanCaption, MainWindow::kLabel12,
                            MainWindow::kLabel14};
    const int statusPanel[] = {MainWindow::kListView1,  MainWindow::kProgressBar,
                               MainWindow::kSkinLabel5, MainWindow::kWarning,
                               MainWindow::kCommand1,   MainWindow::kCommand2};
    std::vector<std::pair<int, RECT>> boxesById;
    const RECT frame = boxOf(MainWindow::kStatusFrame);
    for (int id : homeArea) {
        boxesById.push_back({id, boxOf(id)});
    }
    for (int id : statusPanel) {
        const RECT box = boxOf(id);
        EXPECT_TRUE(box.left > frame.left && box.right < frame.right && box.top > frame.top &&
                    box.bottom < frame.bottom)
            << "control " << id << " leaves the status frame";
        boxesById.push_back({id, box});
    }
    for (std::size_t a = 0; a < boxesById.size(); ++a) {
        const RECT& box = boxesById[a].second;
        EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= client.right &&
                    box.bottom <= client.bottom)
            << "control " << boxesById[a].first << " leaves the window";
        for (std::size_t b = a + 1; b < boxesById.size(); ++b) {
            RECT overlap = {};
            EXPECT_FALSE(IntersectRect(&overlap, &box, &boxesById[b].second))
                << "controls " << boxesById[a].first << " and " << boxesById[b].first;
        }
    }
}

TEST_F(MainWindowTest, HomeAreaShowsTheLastPassFromTheSettingsFile) {
    WriteIniValue(Settings(), "Options", "lastclean", "3/4/2025 10:00:00 AM");
    WriteIniValue(Settings(), "Options", "regnum", "12");
    WriteIniValue(Settings(), "Options", "filesize", "5242880");
    values.BackgroundRun = 1;
    Create();

    EXPECT_EQ(Text(MainWindow::kLabel12), "3/4/2025 10:00:00 AM");
    EXPECT_EQ(Text(MainWindow::kLabel14),
              "  Cleaned Registry Keys: 12     Released HD Space:5.00MB");
    EXPECT_EQ(values.RegistryKeysTotal, 12);
    EXPECT_EQ(values.BytesReleasedTotal, 5242880);
    EXPECT_EQ(values.BackgroundRun, 0);
    EXPECT_EQ(Progress(), 0);
    EXPECT_TRUE(Rows().empty());
}

TEST_F(MainWindowTest, StartCleaningRunsThePassIntoTheListAndEndsWithTheSummary) {
    // The profile's file sits below the folder the item searches, so the pass counts only the
    // fixed 10000 bytes of the search itself.
    TickFirefoxCookies(300);
    Create();
    ASSERT_FALSE(IsWindowVisible(window->hwnd()));

    Click(MainWindow::kCommand1);

    EXPECT_EQ(Rows(), (std::vector<RowText>{{"Firefox Cookies", "Done"}, {kComplete, ""}}));
    EXPECT_FALSE(test::FileExists(Cookies()));
    EXPECT_EQ(Progress(), 100);
    EXPECT_TRUE(IsWindowEnabled(Control(MainWindow::kCommand1)));
    EXPECT_EQ(Text(MainWindow::kSkinLabel5), kComplete);

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Task Complete");
    EXPECT_EQ(boxes[0].text,
              "Task complete Successfully! Cleaned Registry Keys: 0 Released HD Space:0.01MB");
    EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(boxes[0].owner, window->hwnd());
    EXPECT_EQ(window->NoticeHandle(), nullptr);

    // The home area and the settings file both hold the pass just ended, and the window shows.
    EXPECT_EQ(Text(MainWindow::kLabel12), kClock);
    EXPECT_EQ(Text(MainWindow::kLabel14),
              "  Cleaned Registry Keys: 0     Released HD Space:0.01MB");
    EXPECT_EQ(ReadIniValue(Settings(), "Options", "filesize"), "10000");
    EXPECT_TRUE(IsWindowVisible(window->hwnd()));

    // "Cancel" has no action: no pass, no message.
    Click(MainWindow::kCommand2);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(Rows().size(), 2u);
}

TEST_F(MainWindowTest, ASecondPassStartsFromAClearedBusyPanel) {
    TickFirefoxCookies(100);
    Create();
    Click(MainWindow::kCommand1);
    ASSERT_EQ(Rows().size(), 2u);
    test::WriteFileOfSize(Cookies(), 100);

    // Looked at when the pass first lets pending messages run, before the first row is added.
    Probe probe;
    std::vector<RowText> rowsThen;
    std::string captionThen = "unread";
    bool startEnabledThen = true;
    int progressThen = -1;
    bool waitCursorThen = false;
    probe.Post([&] {
        rowsThen = Rows();
        captionThen = Text(MainWindow::kSkinLabel5);
        startEnabledThen = IsWindowEnabled(Control(MainWindow::kCommand1)) != FALSE;
        progressThen = Progress();
        waitCursorThen = GetCursor() == LoadCursorW(nullptr, IDC_WAIT);
    });
    Click(MainWindow::kCommand1);

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

TEST_F(MainWindowTest, AStartRequestDuringThePassDoesNotNestASecondPass) {
    TickFirefoxCookies(100);
    Create();
    HWND start = Control(MainWindow::kCommand1);
    // Queued now, delivered when the pass first lets pending messages run; the probe queued
    // behind it sees what that request did.
    PostMessageW(window->hwnd(), WM_COMMAND, MAKEWPARAM(MainWindow::kCommand1, BN_CLICKED),
                 reinterpret_cast<LPARAM>(start));
    Probe probe;
    std::size_t boxesThen = 99;
    std::vector<RowText> rowsThen;
    probe.Post([&] {
        boxesThen = boxes.size();
        rowsThen = Rows();
    });

    Click(MainWindow::kCommand1);

    ASSERT_EQ(probe.runs, 1);
    EXPECT_EQ(boxesThen, 0u);
    EXPECT_TRUE(rowsThen.empty());
    MSG left;
    EXPECT_FALSE(PeekMessageW(&left, window->hwnd(), WM_COMMAND, WM_COMMAND, PM_NOREMOVE));
    EXPECT_EQ(Rows(), (std::vector<RowText>{{"Firefox Cookies", "Done"}, {kComplete, ""}}));
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(MainWindowTest, ABackgroundPassEndsWithANoticeInsteadOfAMessageBox) {
    TickFirefoxCookies(100);
    Create();
    values.BackgroundRun = 1;

    Click(MainWindow::kCommand1);

    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(values.BackgroundRun, 0);
    HWND notice = window->NoticeHandle();
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(IsWindowVisible(notice));
    EXPECT_NE(GetWindowLongW(notice, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetText(GetDlgItem(notice, NoticeWindow::kTitleId)), "Hushmark");
    EXPECT_EQ(GetText(GetDlgItem(notice, NoticeWindow::kTextId)),
              "Hushmark Clean is done! Cleaned Registry Keys: 0 Released HD Space:0.01MB");

    // A click closes it; the next pass started with the button ends with the message box.
    SendMessageW(notice, WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(IsWindow(notice));
    EXPECT_EQ(window->NoticeHandle(), nullptr);
    Click(MainWindow::kCommand1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Task Complete");
}

TEST_F(MainWindowTest, TheExitOptionEndsTheProgramInsteadOfTheSummary) {
    TickFirefoxCookies(100);
    WriteIniValue(Settings(), "Options", "exit", "1");
    Create();
    HWND main = window->hwnd();

    Click(MainWindow::kCommand1);

    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(window->hwnd(), nullptr);
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(test::FileExists(Cookies()));
    EXPECT_EQ(ReadIniValue(Settings(), "Options", "lastclean"), "");
}

TEST_F(MainWindowTest, MessagesForTheUserCarryTheirTitleAndIcon) {
    Create();
    window->Tell("Incorrect Format:", "Registry", MessageIcon::Exclamation);
    window->Tell("plain", "", MessageIcon::None);

    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Incorrect Format:");
    EXPECT_EQ(boxes[0].title, "Registry");
    EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(boxes[1].type & MB_ICONMASK, 0u);
    EXPECT_EQ(boxes[1].type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
}

}  // namespace
}  // namespace hm
