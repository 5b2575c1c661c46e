// The options dialog Frmoption: start with Windows, exit after cleaning, the boss key, the
// weekly schedule and Internet Explorer's start page and window title. Each opening reloads
// everything from the settings file and the registry; "OK" saves, hands the new schedule to the
// shared values and switches the boss key through the application.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "app/gui_controls.h"
#include "app/gui_dialog.h"
#include "app/options_ids.h"
#include "engine/shared_values.h"
#include "platform/regfun.h"

namespace hm {

// The start-with-Windows entry: the value "Hushmark" under a root's
// "SOFTWARE\Microsoft\Windows\CurrentVersion\Run". Tests derive from it to refuse a root.
class RunKeyWriter {
public:
    virtual ~RunKeyWriter() = default;
    // Makes the Run key if it is missing and sets the value; false when the system refused.
    virtual bool Write(RootKey root, const std::string& commandLine);
    // Deletes the value; a missing key or value is no failure.
    virtual void Remove(RootKey root);
};

class Frmoption : public Dialog {
public:
    enum : int {
        Tabs = IDC_OPT_TABS,
        Command1 = IDC_OPT_COMMAND1,  // "OK"
        Command2 = IDC_OPT_COMMAND2,  // "Cancel"
        Check1 = IDC_OPT_CHECK1,
        Check2 = IDC_OPT_CHECK2,
        Check3 = IDC_OPT_CHECK3,
        Check4 = IDC_OPT_CHECK4,
        Check6 = IDC_OPT_CHECK6,
        Check7 = IDC_OPT_CHECK7,
        Check8 = IDC_OPT_CHECK8,
        cmbStartTime = IDC_OPT_CMBSTARTTIME,
        chkSunday = IDC_OPT_CHKSUNDAY,
        chkMonday = IDC_OPT_CHKMONDAY,
        chkTuesday = IDC_OPT_CHKTUESDAY,
        chkWednesday = IDC_OPT_CHKWEDNESDAY,
        chkThursday = IDC_OPT_CHKTHURSDAY,
        chkFriday = IDC_OPT_CHKFRIDAY,
        chkSaturday = IDC_OPT_CHKSATURDAY,
        chkDaily = IDC_OPT_CHKDAILY,
        Text1 = IDC_OPT_TEXT1,
        Text2 = IDC_OPT_TEXT2,
    };
    // The tab pages in tab order.
    enum Page : int { kGeneral = 0, kSchedule = 1, kHomepage = 2, kPageCount = 3 };
    // Sunday first, as CleanDays stores them.
    static constexpr std::array<int, 7> kDayBoxes = {
        chkSunday, chkMonday, chkTuesday, chkWednesday, chkThursday, chkFriday, chkSaturday};

    // switchBossKey registers (true) or unregisters (false) the boss key's hot keys and window
    // procedure on the main window; the dialog calls it only when the boss key goes on or off.
    Frmoption(std::string programFolder, Regfun& registry, SharedValues& values,
              std::function<void(bool on)> switchBossKey);
    ~Frmoption() override;

    // The registry's Run keys unless a test puts another writer in; it must outlive the dialog.
    void SetRunKeyWriter(RunKeyWriter& writer) { runKey_ = &writer; }

    // A control of the dialog or of one of its pages; null before the dialog exists.
    HWND Control(int id) const;
    HWND PageWindow(int page) const;
    int CurrentPage() const;
    // Selects the tab and shows its page.
    void ShowPage(int page);

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code) override;
    void OnOK() override;
    LRESULT OnNotify(const NMHDR& header) override;
    void OnDestroyed() override;

private:
    static INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
    void CreatePages();
    void Load();
    void SaveInternetExplorerTexts();
    void SaveBossKey();
    void SaveStartWithWindows();
    void SaveSchedule();

    std::string Settings() const;
    std::string ReadOption(const char* key) const;
    void WriteOption(const char* key, const std::string& value) const;
    bool Checked(int id) const;
    void SetCheck(int id, bool checked);
    std::string Text(int id) const;
    void SetTextOf(int id, const std::string& text);

    std::string programFolder_;
    Regfun& registry_;
    SharedValues& values_;
    std::function<void(bool on)> switchBossKey_;
    RunKeyWriter registryRunKey_;
    RunKeyWriter* runKey_ = &registryRunKey_;
    std::array<HWND, kPageCount> pages_{};
    ScopedFont headingFont_;
};

}  // namespace hm
