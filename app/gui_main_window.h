// The main window: the home area with the last-pass totals and the status panel in which the
// cleaning pass shows its result list and progress. It is the pass's user interface.
//
// The image-button bar, menus, tray icon, boss key and schedule come later; until the image
// buttons exist to switch between the home and status panels, both are shown together, the
// home area above the status panel.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "app/gui_controls.h"
#include "app/gui_notice_window.h"
#include "engine/clean_run.h"
#include "engine/pass_ui.h"
#include "engine/shared_values.h"

namespace hm {

inline constexpr const wchar_t* kMainWindowClass = L"HushmarkMain";
inline constexpr const char* kMainWindowCaption = "Hushmark V6.20";

// Same arguments and result as MessageBoxW; the tests put a recorder in its place.
using MessageBoxFunction =
    std::function<int(HWND owner, const std::wstring& text, const std::wstring& title, UINT type)>;

class MainWindow : public PassUi {
public:
    enum : int {
        kCommand1 = 101,  // "Start Cleaning >>"
        kCommand2 = 102,  // "Cancel"
        kListView1 = 103,
        kProgressBar = 104,  // coolprogressbar1
        kSkinLabel5 = 105,   // status caption
        kLabel12 = 106,      // last-clean text
        kLabel14 = 107,      // totals line
        kStatusFrame = 108,
        kWarning = 109,
        kProductName = 110,
        kTagline = 111,
        kLastCleanCaption = 112,
    };

    // now: the date-time text stored as "lastclean"; empty means the system clock.
    MainWindow(SharedValues& values, const std::string& programFolder,
               std::function<std::string()> now = {});
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window hidden and fills the home area from the settings file. False when the
    // window or one of its controls cannot be made (the common controls must be initialised).
    bool Create(HINSTANCE instance);
    HWND hwnd() const { return hwnd_; }
    HWND Control(int id) const { return hwnd_ ? GetDlgItem(hwnd_, id) : nullptr; }
    HWND NoticeHandle() const { return notice_.hwnd(); }

    void SetMessageBox(MessageBoxFunction messageBox) { messageBox_ = std::move(messageBox); }
    // Keyboard navigation between the controls; true when the message was used.
    bool HandleDialogKeys(MSG& message);

    void CleanNow() { run_.CleanNow(); }
    void showstatus(const std::string& label) { run_.showstatus(label); }

    // UserMessages / PassUi
    void Tell(const std::string& text, const std::string& title, MessageIcon icon) override;
    void BeginPass() override;
    void AddRow(const std::string& label, const std::string& status) override;
    void SetRowStatus(const std::string& status) override;
    void SetCaption(const std::string& text) override;
    void SetProgress(int value) override;
    void PumpEvents() override;
    void EnableStart() override;
    void RestorePointer() override;
    void ShowPopup(const PopupRequest& request) override;
    void ShowHomeTotals(const std::string& lastClean, const std::string& totalsLine) override;
    void ExitProgram() override;

private:
    static bool RegisterWindowClass(HINSTANCE instance);
    template <class Owner>
    friend LRESULT CALLBACK ForwardingWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateControls();
    void LoadHomeTotals();
    void SetListText(int row, int column, const std::string& text);

    SharedValues& values_;
    CleanRun run_;
    HWND hwnd_ = nullptr;
    HINSTANCE instance_ = nullptr;
    int currentRow_ = -1;
    bool busy_ = false;
    ScopedFont font_;
    ScopedFont titleFont_;
    NoticeWindow notice_;
    MessageBoxFunction messageBox_;
};

}  // namespace hm
