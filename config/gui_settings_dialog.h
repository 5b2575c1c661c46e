// The clean-items dialog frmsettings ("Cleaning Settings"): one box per catalogue item, grouped
// in frames on the tabs of SSTab1 (the browsers on the tabs of SSTab2, today's browsers on the
// tabs of their own tab control), "Select all of the above"
// boxes, the custom items list, the plug-in list and the community rules of winapp2.ini. Every
// opening reloads the settings file, cusd.dat, the plug-in files and winapp2.ini; "OK" writes
// the first three back (the rules' ticks go to the settings file), "Cancel" writes nothing.
// "Import rules..." replaces winapp2.ini at once.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/gui_controls.h"
#include "app/gui_dialog.h"
#include "config/settings_dialog_rules.h"
#include "config/settings_ids.h"
#include "platform/regfun.h"

namespace hm {

// The side effects the tests control. Each is the real thing when left empty.
struct SettingsServices {
    // Same arguments and result as MessageBoxW.
    std::function<int(HWND owner, const std::wstring& text, const std::wstring& title, UINT type)>
        messageBox;
    // The open-file dialog: its answer as it returns it (the folder, then the names, NUL between
    // them; or one full path), or nothing when cancelled. Like the system's dialog, it leaves the
    // process's current folder at the folder chosen, which the answer is split by.
    std::function<std::optional<std::string>(HWND owner)> pickFiles;
    // The shell's browse-for-folder dialog: the folder's path, or nothing when cancelled.
    std::function<std::optional<std::string>(HWND owner)> pickFolder;
    // A registry value as Regfun::GetRegString reads it ("Error" when it is missing).
    std::function<std::string(const std::string& keyPath, const std::string& valueName)>
        readRegistry;
    // The open-file dialog of "Import rules...": the full path of the one file chosen, or
    // nothing when cancelled.
    std::function<std::optional<std::string>(HWND owner)> pickRuleFile;
};

class frmsettings : public Dialog {
public:
    enum : int {
        SSTab1 = IDC_SET_SSTAB1,
        SSTab2 = IDC_SET_SSTAB2,
        Command1 = IDC_SET_COMMAND1,      // "OK"
        Command3 = IDC_SET_COMMAND3,      // "Cancel"
        Command7 = IDC_SET_COMMAND7,      // "Options": the URL keep list
        Command8 = IDC_SET_COMMAND8,      // "Options": the cookie keep list
        Command101 = IDC_SET_COMMAND101,  // "Add"
        Command102 = IDC_SET_COMMAND102,  // "Remove"
        Command2 = IDC_SET_COMMAND2,      // "Clear"
        ListView1 = IDC_SET_LISTVIEW1,    // plug-ins
        ListView2 = IDC_SET_LISTVIEW2,    // custom items
        Frame5 = IDC_SET_FRAME5,
        Frame6 = IDC_SET_FRAME6,
        Frame7 = IDC_SET_FRAME7,
        Winapp2Note = IDC_SET_WINAPP2_NOTE,
        Winapp2List = IDC_SET_WINAPP2_LIST,      // the rules that apply here, by group
        Winapp2Import = IDC_SET_WINAPP2_IMPORT,  // "Import rules..."
        addfiles = IDM_SET_ADDFILES,
        addfolders = IDM_SET_ADDFOLDERS,
    };
    // The id of the box named "CheckNN" (item or select-all box); 0 for any other name.
    static int CheckId(std::string_view control);

    // The settings file, cusd.dat and the plug-in folder live in programFolder; the registry
    // serves the cookie keep-list dialog and, unless a test reads for it, the mail detection.
    frmsettings(std::string programFolder, Regfun& registry, SettingsServices services = {});
    ~frmsettings() override;

    // Adds a row to the plug-in list for every file directly in the folder with the extension
    // (without regard to case). The load calls it for program folder & "\plus-in" and "hmx".
    void AddList(const std::string& folder, const std::string& extension);

    // A control of the dialog or of any of its pages; null before the dialog exists.
    HWND Control(int id) const;
    // The pages of SSTab1 in tab order.
    const std::vector<HWND>& Pages() const { return pages_; }
    // On a tab with tabs of its own ("Browsers" holds SSTab2, "Today's Browsers" another one):
    // that tab control and its pages in tab order; null and empty on any other tab.
    HWND SubTabControl(int tab) const;
    const std::vector<HWND>& SubPages(int tab) const;
    // Brings a tab, or a sub-tab of the tab, to the front, as a click on it does.
    void ShowTab(int tab);
    void ShowSubTab(int tab, int subTab);

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code) override;
    void OnOK() override;
    LRESULT OnNotify(const NMHDR& header) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDestroyed() override;

private:
    // gui_settings_layout.cpp
    void CreatePages();
    HWND CreatePage(int templateId, HWND parent);
    void FillBoxPage(HWND page, const PageModel& model);
    void FillCustomPage(HWND page, const PageModel& model);
    void FillPluginPage(HWND page);
    void FillWinapp2Page(HWND page);
    HWND AddFrame(HWND page, const FrameModel& frame, int id, RECT dlu);
    void AddBoxes(HWND page, const FrameModel& frame, RECT dlu,
                  const std::vector<std::string>& captions, std::size_t& caption);

    // gui_settings_dialog.cpp
    void ShowOnly(const std::vector<HWND>& pages, int shown, HWND tabs);
    void Load();
    void LoadMailBoxes(const char* keyPath, const char* valueName, std::string_view frame);
    void SelectAllClicked(const SelectAllBox& box);
    void AskAfterTicking(int id, const CatalogueItem& item);
    void AskAfterFocusLeft(int id);
    int Ask(std::string_view question);
    void ShowAddMenu();
    std::string SettingsFile() const;
    bool Ticked(int id) const;
    void SetBox(int id, bool ticked);

    // gui_settings_lists.cpp
    void LoadCustomList();
    void AddFiles();
    void AddFolders();
    void AddCustomRow(const std::string& path, const char* type, SizePattern pattern);
    void RemoveSelectedRow();
    void SaveCustomList();
    void SavePluginSwitches();

    // gui_settings_winapp2.cpp
    // Posted when a rule with a warning is being ticked; wParam is its row.
    static constexpr UINT kAskWinapp2Warning = WM_APP + 2;
    // A row of the rule list: a group's title, or a rule of it.
    struct Winapp2Row {
        bool group = false;
        std::string name;     // the rule's name without " *", or the group's
        std::string warning;  // asked before the rule is ticked
        std::string refusal;  // a refused rule shows why and cannot be ticked
    };
    void LoadWinapp2Rules();
    bool Winapp2TickRefused(const NMLISTVIEW& change);
    void AskWinapp2Warning(int row);
    void ImportRules();
    void SaveWinapp2Ticks();
    LRESULT DrawWinapp2Row(const NMLVCUSTOMDRAW& draw);
    void SetWinapp2Tick(int row, bool ticked);
    bool Winapp2Ticked(int row) const;
    int Tell(const std::string& text, UINT type);

    std::string programFolder_;
    Regfun& registry_;
    SettingsServices services_;
    // A page of SSTab1 that holds a tab control of its own, with that control's pages.
    struct SubTabs {
        int tab = 0;  // index in pages_
        HWND control = nullptr;
        std::vector<HWND> pages;
    };
    const SubTabs* SubTabsOf(int tab) const;

    std::vector<HWND> pages_;
    std::vector<SubTabs> subTabs_;
    int nextFrameId_ = IDC_SET_FRAME_FIRST;
    ScopedFont serifFont_;
    std::vector<Winapp2Row> winapp2Rows_;  // one per row of Winapp2List
    bool settingWinapp2_ = false;          // the dialog itself sets a tick: no question
    std::vector<int> winapp2Asking_;       // rows whose warning is about to be asked
    ScopedFont boldFont_;
};

}  // namespace hm
