// The main window frmMainCode: the image-button bar, the home panel with the last pass's totals,
// the status panel in which the cleaning pass shows its result list and progress, the menu bar
// and the timers. It shows state and hands every command to its host, the application object;
// it is also the pass's user interface.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/gui_controls.h"
#include "app/main_ids.h"
#include "engine/pass_ui.h"

namespace hm {

inline constexpr const wchar_t* kMainWindowClass = L"HushmarkMain";
inline constexpr const char* kMainWindowCaption = "Hushmark V6.20";

// Same arguments and result as MessageBoxW; the tests put a recorder in its place.
using MessageBoxFunction =
    std::function<int(HWND owner, const std::wstring& text, const std::wstring& title, UINT type)>;

// A row of the result list: the item and its status.
struct ListRow {
    std::string label;
    std::string status;
};

// What the main window hands on.
class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;
    // A menu item, image button, button or link: the ids of app/main_ids.h. A double click on
    // (or Enter in) a row of an analysis comes as IDC_DETAILS, with that row selected.
    virtual void OnCommand(int id) = 0;
    virtual void OnTimer(UINT_PTR timer) = 0;
    // The window became the active window.
    virtual void OnActivated() = 0;
    // A mouse message (WM_LBUTTONUP, WM_RBUTTONUP, ...) over the tray icon.
    virtual void OnTrayEvent(UINT mouseMessage) = 0;
    // A hot key registered on this window.
    virtual void OnHotKey(int id, UINT modifiers, UINT key) = 0;
    // WM_QUERYENDSESSION and WM_ENDSESSION: true when handled, with the answer in result.
    virtual bool OnSessionEnd(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                              LRESULT& /*result*/) {
        return false;
    }
};

class MainWindow : public PassUi {
public:
    // Timer ids: the schedule tick and the pop-up pump.
    static constexpr UINT_PTR kTimer1 = 1;
    static constexpr UINT kTimer1Ms = 30000;
    static constexpr UINT_PTR kTmrShowPopup = 2;
    static constexpr UINT kTmrShowPopupMs = 500;
    // The message the tray icon sends; lParam holds the mouse message.
    static constexpr UINT kTrayMessage = WM_APP + 1;
    // The image buttons in the order of the bar.
    static constexpr std::array<int, 8> kImageIds = {IDC_IMAGE1, IDC_IMAGE2, IDC_IMAGE3,
                                                     IDC_IMAGE4, IDC_IMAGE5, IDC_IMAGE6,
                                                     IDC_IMAGE9, IDC_IMAGE10};

    explicit MainWindow(MainWindowHost& host);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window hidden, with the home panel showing. False when the window or one of its
    // controls cannot be made (the common controls must be initialised).
    bool Create(HINSTANCE instance);
    HWND hwnd() const { return hwnd_; }
    HWND Control(int id) const { return hwnd_ ? GetDlgItem(hwnd_, id) : nullptr; }

    void SetMessageBox(MessageBoxFunction messageBox) { messageBox_ = std::move(messageBox); }
    // Shows a message box owned by the window; returns the button pressed.
    int ShowMessage(const std::string& text, const std::string& title, UINT type);

    // Exactly one of the two panels is visible.
    void ShowHomePanel();
    void ShowStatusPanel();
    bool StatusPanelShown() const { return statusShown_; }
    void SetHomeTotals(const std::string& lastClean, const std::string& totalsLine);

    // Image-button borders: 1 on the button under the mouse, 0 elsewhere.
    void SelectImage(int id);
    void ClearSelections();
    bool ImageBorder(int id) const;

    // Fills the result list with an analysis: a row per ticked item, then the closing row, under
    // the status column's header for it, and sets the caption. Until the next pass "Details..."
    // opens the selected item row.
    void ShowAnalysis(const std::string& statusHeader, const std::vector<ListRow>& items,
                      const ListRow& closing, const std::string& caption);
    // The selected row of the analysis shown, or -1 (no analysis, the closing row, nothing).
    int SelectedAnalysisRow() const;

    // Pops up a menu at the cursor, returning the command chosen (0 for none).
    int TrackMenu(HMENU menu);

    // UserMessages / PassUi
    void Tell(const std::string& text, const std::string& title, MessageIcon icon) override;
    void BeginPass() override;
    void AddRow(const std::string& label, const std::string& status) override;
    void SetRowStatus(const std::string& status) override;
    void SetCaption(const std::string& text) override;
    void SetProgress(int value) override;
    void PumpEvents() override;
    void EndPass() override;
    void BringToFront() override;

private:
    static bool RegisterWindowClass(HINSTANCE instance);
    template <class Owner>
    friend LRESULT CALLBACK ForwardingWindowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK ImageProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateControls();
    void Layout();
    void MakeFonts();
    int Scale(int value) const { return MulDiv(value, dpi_, 96); }
    void DrawItem(const DRAWITEMSTRUCT& item);
    void SetListText(int row, int column, const std::string& text);
    void SetColumnWidths();
    void SetStatusHeader(const std::string& text);
    void UpdateDetailsButton();
    LRESULT HandleListNotify(const NMHDR& header);

    MainWindowHost& host_;
    HWND hwnd_ = nullptr;
    HINSTANCE instance_ = nullptr;
    int dpi_ = 96;
    int currentRow_ = -1;
    int analyzedRows_ = 0;  // the item rows of the analysis the list shows; 0 for none
    bool busy_ = false;
    bool statusShown_ = false;
    std::array<bool, 8> borders_{};
    std::array<HICON, 8> icons_{};
    HICON helpIcon_ = nullptr;
    ScopedFont font_;
    ScopedFont titleFont_;
    ScopedFont linkFont_;
    MessageBoxFunction messageBox_;
};

}  // namespace hm
