// The window of Mobrin.exe: the findings of a scan with tick boxes (every category but the
// uninstall entries ticked), "Scan", "Fix selected" (after a backup file) and "Restore...".
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/gui_dialog.h"
#include "regclean/finding_rules.h"
#include "regclean/live_registry.h"
#include "regclean/regclean_ids.h"
#include "regclean/scan_rules.h"

namespace hm::regclean {

struct CleanerSettings {
    ScanScope scope;
    std::string backupsFolder;
    bool scanOnOpen = true;
    // A message box; the default is the system's.
    std::function<int(HWND, const std::string& text, UINT flags)> ask;
    // The backup file to restore, or empty when the user cancels; the default is the system's
    // open-file dialog, starting in the backups folder.
    std::function<std::string(HWND, const std::string& folder)> chooseBackup;
};

class RegistryCleanerDialog : public Dialog {
public:
    enum : int {
        Scope = IDC_RC_SCOPE,
        List = IDC_RC_LIST,
        Status = IDC_RC_STATUS,
        ScanButton = IDC_RC_SCAN,
        FixButton = IDC_RC_FIX,
        RestoreButton = IDC_RC_RESTORE,
    };
    // The list's columns.
    enum Column : int { kCategory, kKey, kValue, kPointsAt, kReason, kColumnCount };

    explicit RegistryCleanerDialog(CleanerSettings settings);

    // The text that says which hives are checked.
    static std::string ScopeText(bool machineIncluded);

    void RunScan();
    void FixSelected();
    void RestoreChosen();

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Fill();
    std::vector<Finding> Ticked() const;
    int Ask(const std::string& text, UINT flags);
    void Layout();

    CleanerSettings settings_;
    LiveRegistry registry_;
    std::vector<Finding> findings_;
    SIZE minimum_ = {};
    RECT initialClient_ = {};
    std::vector<std::pair<int, RECT>> initialBoxes_;
};

}  // namespace hm::regclean
