#include "search/gui_frm_locate.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "app/gui_about_dialog.h"
#include "app/gui_controls.h"
#include "app/gui_message_loop.h"
#include "engine/clean_run.h"
#include "keeplists/keep_list_rules.h"
#include "platform/text.h"
#include "search/extention_handller.h"
#include "search/gui_frm_extentions.h"
#include "search/locate_rules.h"
#include "search/search_rules.h"

namespace hm {
namespace {

constexpr const char* kFindFilesCaption = "&Find Files";
constexpr const char* kExitCaption = "E&xit";
constexpr const char* kStopCaption = "&Stop";
// The list's scroll range before a search has measured its entries.
constexpr int kStartExtent = 700;
// Letting window events run costs a round trip to the window system each time; this often is
// enough for "&Stop" to answer at once and keeps that cost out of the search.
constexpr ULONGLONG kEventsIntervalMs = 10;
// The status line shows the folder being searched; the eye cannot follow faster changes.
constexpr ULONGLONG kStatusIntervalMs = 40;

}  // namespace

frmLocate::frmLocate(std::string programFolder, LocateServices services)
    : Dialog(IDD_FRMLOCATE),
      programFolder_(std::move(programFolder)),
      services_(std::move(services)),
      settings_(services_.settingsKey) {}

frmLocate::~frmLocate() = default;

bool frmLocate::OnInit() {
    // Enter, Tab and access keys keep working while a search lets events run.
    registered_ = hwnd();
    message_loop::AddDialogWindow(registered_);
    CarryOn([&] {
        startFolder_ = search::AddBackslash(programFolder_);
        Store(search::kStartUpSection, search::kAppPathKey, startFolder_);
        SetChecked(chkDelType, true);
        Store(search::kStartUpSection, search::kRecycleKey, "1");
        SetChecked(Check1, true);
        Store(search::kStartUpSection, search::kSubFoldersKey, "1");
        Store(search::kGeneralSection, search::kTipNumberKey, "1");
        Store(search::kGeneralSection, search::kPromptKey, "1");
    });
    // The folder change searches too, and ends at once: the pattern text is still empty.
    CarryOn([&] {
        SetWindowSubclass(Item(Dir1), &frmLocate::FolderListProc, 0,
                          reinterpret_cast<DWORD_PTR>(this));
        FillDrives();
        ChangeDir(startFolder_);
    });
    CarryOn([&] { SetItemText(cmdAction0, kFindFilesCaption); });
    CarryOn([&] { SetItemText(Text1, ExtentionHandller::ReadExtensionPatterns(programFolder_)); });
    CarryOn([&] { SetExtent(ScaledPixels(kStartExtent)); });
    return true;
}

void frmLocate::OnDestroyed() {
    stop_ = true;
    closing_ = true;
    message_loop::RemoveDialogWindow(std::exchange(registered_, nullptr));
}

bool frmLocate::OnCommand(int id, int code) {
    switch (id) {
        case cmdAction0:
        case cmdAction1:
            ActionClicked(id);
            return true;
        case Text1:
            if (code == EN_CHANGE && !ItemText(Text1).empty() &&
                !IsWindowEnabled(Item(cmdAction0))) {
                EnableWindow(Item(cmdAction0), TRUE);
            }
            return true;
        case Drive1:
            if (code == CBN_SELCHANGE) {
                DriveChanged();
            }
            return true;
        case Dir1:
            if (code == LBN_DBLCLK) {
                OpenSelectedFolder();
            }
            return true;
        case Check1:
            Store(search::kStartUpSection, search::kSubFoldersKey, IsChecked(Check1) ? "1" : "0");
            return true;
        case chkDelType:
            Store(search::kStartUpSection, search::kRecycleKey, IsChecked(chkDelType) ? "1" : "0");
            return true;
        case cmdSelectAll:
        case cmdUnSelectAll:
            SendMessageW(Item(List1), LB_SETSEL, id == cmdSelectAll ? TRUE : FALSE, -1);
            return true;
        case cmdOption:
        case mnuOptions:
            ShowExtensionDialog();
            return true;
        case mnuAbout:
            ShowAbout();
            return true;
        case mnuFileSub:
            CloseWindow();
            return true;
        case cmdDelete:
            DeleteSelected();
            return true;
        case menuResetAll:
            ResetAll();
            return true;
        default:
            return Dialog::OnCommand(id, code);
    }
}

void frmLocate::ActionClicked(int id) {
    const std::string caption = ItemText(id);
    if (caption == kFindFilesCaption) {
        SearchAgain(true);
    } else if (caption == kExitCaption) {
        CloseWindow();
    } else if (caption == kStopCaption) {
        stop_ = true;
        SetItemText(id, kExitCaption);
    }
}

// Enter where no button is the default: in the pattern text it finds files. (The folder list
// takes its Enter itself.)
void frmLocate::OnOK() {
    if (GetFocus() == Item(Text1)) {
        ActionClicked(cmdAction0);
    }
}

void frmLocate::OnCancel() {
    CloseWindow();
}

void frmLocate::Terminate() {
    stop_ = true;
}

void frmLocate::CloseWindow() {
    Terminate();
    closing_ = true;
    Close(IDCANCEL);
}

bool frmLocate::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message == WM_SETCURSOR && waiting_) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        result = TRUE;
        return true;
    }
    return false;
}

void frmLocate::SetWaitPointer(bool waiting) {
    waiting_ = waiting;
    SetCursor(LoadCursorW(nullptr, waiting ? IDC_WAIT : IDC_ARROW));
}

int frmLocate::ScaledPixels(int pixels) const {
    HDC dc = GetDC(hwnd());
    const int dpi = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
    if (dc != nullptr) {
        ReleaseDC(hwnd(), dc);
    }
    return MulDiv(pixels, dpi, 96);
}

void frmLocate::SetExtent(int pixels) {
    SendMessageW(Item(List1), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(pixels), 0);
}

void frmLocate::ClearList() {
    SendMessageW(Item(List1), LB_RESETCONTENT, 0, 0);
    entryPaths_.clear();
}

void frmLocate::SearchAgain(bool resetExtent) {
    if (searching_) {
        // One set of search state: the running search stops, and this one follows it.
        stop_ = true;
        searchPending_ = true;
        pendingResetsExtent_ = pendingResetsExtent_ || resetExtent;
        return;
    }
    searchPending_ = true;
    pendingResetsExtent_ = resetExtent;
    while (searchPending_ && !closing_ && hwnd() != nullptr) {
        searchPending_ = false;
        if (std::exchange(pendingResetsExtent_, false)) {
            SetExtent(ScaledPixels(kStartExtent));
        }
        stop_ = false;
        SetWaitPointer(true);
        ClearList();
        FindFiles(dirPath_, ItemText(Text1));
        SetWaitPointer(false);
        // A search stopped to make way for this one leaves "&Stop" behind, which no search
        // would answer if this one has no pattern to run.
        if (!searchPending_ && ItemText(cmdAction1) == kStopCaption) {
            SetItemText(cmdAction1, kExitCaption);
        }
    }
}

void frmLocate::FindFiles(const std::string& root, const std::string& patternText) {
    if (searching_) {
        return;
    }
    searching_ = true;
    widest_ = 0;
    lastEvents_ = lastStatus_ = 0;
    const search::SearchEnd end = search::FindFiles(root, patternText, *this);
    searching_ = false;
    if (end == search::SearchEnd::Stopped) {
        // The folder it stopped in, which the throttled status may not show yet.
        SetItemText(Status, shownFolder_);
        SetWaitPointer(false);
    }
}

void frmLocate::SearchStarted() {
    SetItemText(cmdAction1, kStopCaption);
}

bool frmLocate::IncludeSubFolders() {
    return IsChecked(Check1);
}

void frmLocate::SearchingFolder(const std::string& folder) {
    shownFolder_ = folder;
    const ULONGLONG now = GetTickCount64();
    if (now - lastStatus_ >= kStatusIntervalMs) {
        lastStatus_ = now;
        SetItemText(Status, folder);
    }
}

void frmLocate::LetEventsRun() {
    const ULONGLONG now = GetTickCount64();
    if (now - lastEvents_ < kEventsIntervalMs) {
        return;
    }
    lastEvents_ = now;
    if (!message_loop::PumpPending()) {
        stop_ = true;  // the program is ending
    }
}

bool frmLocate::StopRequested() {
    return stop_ || closing_ || hwnd() == nullptr;
}

void frmLocate::EntryFound(const search::FoundEntry& entry) {
    const HWND list = Item(List1);
    const std::wstring text = Widen(entry.text);
    if (SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())) < 0) {
        return;
    }
    entryPaths_.push_back(entry.longPath);
    HDC dc = GetDC(list);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    widest_ = std::max(widest_, static_cast<int>(size.cx));
}

void frmLocate::SearchFinished(const std::string& summary) {
    // The widest entry as it is drawn, so that the scroll range ends where the text does.
    SetExtent(widest_ > 0 ? widest_ + kListTextPadding : 0);
    SetItemText(Status, summary);
    SendMessageW(Item(List1), LB_SETSEL, TRUE, -1);
    SetItemText(cmdAction1, kExitCaption);
}

int frmLocate::Ask(const std::string& text, const std::string& title, UINT type) {
    if (services_.messageBox) {
        return services_.messageBox(hwnd(), Widen(text), Widen(title), type);
    }
    return MessageBoxW(hwnd(), Widen(text).c_str(), Widen(title).c_str(), type);
}

void frmLocate::Store(std::string_view section, std::string_view key, std::string_view value) {
    settings_.Save(section, key, value);
}

void frmLocate::ShowExtensionDialog() {
    frmExtentions extensions(
        programFolder_, settings_, [this](const std::string& text) { SetItemText(Text1, text); },
        services_.messageBox);
    extensions.ShowModal(hwnd());
}

void frmLocate::ShowAbout() {
    if (services_.showAbout) {
        services_.showAbout(hwnd());
        return;
    }
    AboutDialog about([] {}, [] {});
    about.ShowModal(hwnd());
}

}  // namespace hm
