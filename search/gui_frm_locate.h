// The search-and-erase window frmLocate: a drive and folder list, the pattern text, the found
// files with their sizes and dates, and the buttons that find, select and delete them. The
// search itself is search::FindFiles; this window is its sink, lets its own events run during a
// search so that "&Stop" answers, and keeps the full path of every entry so that "&Delete
// selected" never has to read a path back out of an entry's text.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/gui_dialog.h"
#include "app/gui_main_window.h"
#include "search/find_files.h"
#include "search/lintwell_settings.h"
#include "search/search_ids.h"

namespace hm {

struct LocateServices {
    MessageBoxFunction messageBox;                   // MessageBoxW when empty
    std::function<void(HWND owner)> showAbout;       // the program's About box; nothing when empty
    std::string settingsKey = search::kLintwellKey;  // below HKEY_CURRENT_USER
};

class frmLocate : public Dialog, private search::SearchSink {
public:
    enum : int {
        Drive1 = IDC_LOC_DRIVE1,
        Dir1 = IDC_LOC_DIR1,
        Label1 = IDC_LOC_LABEL1,
        Text1 = IDC_LOC_TEXT1,
        Check1 = IDC_LOC_CHECK1,
        Options = IDC_LOC_OPTIONS,
        chkDelType = IDC_LOC_CHKDELTYPE,
        List1 = IDC_LOC_LIST1,
        Status = IDC_LOC_STATUS,
        cmdAction0 = IDC_LOC_CMDACTION0,
        cmdAction1 = IDC_LOC_CMDACTION1,
        cmdSelectAll = IDC_LOC_CMDSELECTALL,
        cmdUnSelectAll = IDC_LOC_CMDUNSELECTALL,
        cmdOption = IDC_LOC_CMDOPTION,
        cmdDelete = IDC_LOC_CMDDELETE,
        mnuFileSub = IDM_LOC_MNUFILESUB,
        mnuOptions = IDM_LOC_MNUOPTIONS,
        menuResetAll = IDM_LOC_MENURESETALL,
        mnuAbout = IDM_LOC_MNUABOUT,
    };

    explicit frmLocate(std::string programFolder, LocateServices services = {});
    ~frmLocate() override;

    // One search below the folder; fills List1 and Status. Does nothing while another search of
    // this window runs (the handlers stop that one and search again once it has returned).
    void FindFiles(const std::string& root, const std::string& patternText);
    // Lets go of what the window holds for searching: a running search ends at its next check.
    void Terminate();

    // Dir1's folder, without a trailing "\" except at a drive's root.
    const std::string& DirPath() const { return dirPath_; }
    // Dir1 moves to the folder, as when the user opens it there; stores it and searches it.
    void ChangeDir(const std::string& folder);
    bool Searching() const { return searching_; }
    // The full path of each entry of List1, in list order.
    const std::vector<std::wstring>& EntryPaths() const { return entryPaths_; }
    const search::LintwellSettings& settings() const { return settings_; }

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code) override;
    void OnOK() override;
    void OnCancel() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDestroyed() override;

private:
    // search::SearchSink
    void SearchStarted() override;
    bool IncludeSubFolders() override;
    void SearchingFolder(const std::string& folder) override;
    void LetEventsRun() override;
    bool StopRequested() override;
    void EntryFound(const search::FoundEntry& entry) override;
    void SearchFinished(const std::string& summary) override;

    void ActionClicked(int id);
    // Runs a search of Dir1's folder; while one runs, stops it and runs once it has returned.
    void SearchAgain(bool resetExtent);
    void ClearList();
    void SetWaitPointer(bool waiting);
    void SetExtent(int pixels);
    int ScaledPixels(int pixels) const;
    void CloseWindow();
    void ShowExtensionDialog();
    void ShowAbout();
    void DeleteSelected();
    void ResetAll();
    void FillDrives();
    void FillFolders();
    void DriveChanged();
    void OpenSelectedFolder();
    static LRESULT CALLBACK FolderListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR self);
    int Ask(const std::string& text, const std::string& title, UINT type);
    void Store(std::string_view section, std::string_view key, std::string_view value);

    std::string programFolder_;
    LocateServices services_;
    HWND registered_ = nullptr;  // with the message loop, for dialog keys
    search::LintwellSettings settings_;
    std::string startFolder_;
    std::string dirPath_;
    std::vector<std::string> folderEntries_;  // Dir1's entries' full paths, in list order
    std::vector<std::wstring> entryPaths_;
    std::string shownFolder_;
    bool stop_ = false;
    bool searching_ = false;
    bool searchPending_ = false;
    bool pendingResetsExtent_ = false;
    bool waiting_ = false;
    bool closing_ = false;
    int widest_ = 0;
    ULONGLONG lastEvents_ = 0;
    ULONGLONG lastStatus_ = 0;
};

}  // namespace hm
