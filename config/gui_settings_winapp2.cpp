// frmsettings: the "Community Rules" tab. It lists the rules of winapp2.ini beside the program
// that apply to this computer, group by group, each with a box; a refused rule shows why and has
// no box. A rule with a warning shows it before its box is ticked, and stays clear unless the
// user answers OK. "Import rules..." copies the chosen file over winapp2.ini and lists it anew;
// "OK" stores the boxes in the settings file's section "Winapp2".
#include "config/gui_settings_dialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <map>

#include "engine/clean_run.h"
#include "engine/shared_values.h"
#include "engine/winapp2.h"
#include "platform/text.h"

namespace hm {
namespace {

// The state image of a row of a list with check boxes: none, clear or ticked.
constexpr int kNoBox = 0;
constexpr int kClear = 1;
constexpr int kTicked = 2;

int StateImage(UINT state) {
    return static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12);
}

void SetStateImage(HWND list, int row, int image) {
    LVITEMW item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(image);
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void AppendRow(HWND list, const std::string& text, const std::string& note) {
    std::wstring first = Widen(text);
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = first.data();
    const auto row =
        static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0 || note.empty()) {
        return;
    }
    std::wstring second = Widen(note);
    LVITEMW cell = {};
    cell.iSubItem = 1;
    cell.pszText = second.data();
    SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&cell));
}

std::optional<std::string> PickRuleFileWithDialog(HWND owner) {
    std::wstring buffer(32768, L'\0');
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"Rule files (*.ini)\0*.ini\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrTitle = L"Import rules";
    dialog.Flags =
        OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog)) {
        return std::nullopt;
    }
    buffer.resize(buffer.find(L'\0'));
    return Narrow(buffer);
}

std::string Count(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

void frmsettings::LoadWinapp2Rules() {
    HWND list = Control(Winapp2List);
    settingWinapp2_ = true;
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    winapp2Rows_.clear();
    winapp2Asking_.clear();
    const Winapp2Load load = LoadWinapp2(Winapp2FilePath(programFolder_));
    std::string note;
    if (!load.found) {
        note = "No winapp2.ini beside the program: import a rule file to use community rules.";
    } else if (load.error != 0) {
        note = "winapp2.ini cannot be read (error " + std::to_string(load.error) + ").";
    } else {
        Winapp2Machine machine;
        machine.Protect(programFolder_);
        const std::string settings = SettingsFile();
        std::size_t applying = 0;
        std::size_t refused = 0;
        for (const Winapp2Group& group : ListWinapp2(load.rules, machine)) {
            winapp2Rows_.push_back({true, group.name, {}, {}});
            AppendRow(list, group.name, {});
            SetStateImage(list, static_cast<int>(winapp2Rows_.size()) - 1, kNoBox);
            for (const Winapp2Entry& entry : group.entries) {
                ++applying;
                refused += entry.refusal.empty() ? 0 : 1;
                winapp2Rows_.push_back({false, entry.name, entry.warning, entry.refusal});
                AppendRow(list, entry.name,
                          !entry.refusal.empty()   ? "Refused: " + entry.refusal
                          : !entry.warning.empty() ? "Warning: " + entry.warning
                                                   : std::string());
                SetStateImage(list, static_cast<int>(winapp2Rows_.size()) - 1,
                              !entry.refusal.empty()                  ? kNoBox
                              : IsWinapp2Ticked(settings, entry.name) ? kTicked
                                                                      : kClear);
            }
        }
        note = Count(applying, "rule", "rules") + " of " + std::to_string(load.rules.rules.size()) +
               " in winapp2.ini " + (applying == 1 ? "applies" : "apply") + " to this computer" +
               (refused > 0 ? "; " + std::to_string(refused) + " refused." : ".");
    }
    SetWindowTextW(Control(Winapp2Note), Widen(note).c_str());
    settingWinapp2_ = false;
}

bool frmsettings::Winapp2Ticked(int row) const {
    const auto state =
        SendMessageW(Control(Winapp2List), LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
    return StateImage(static_cast<UINT>(state)) == kTicked;
}

void frmsettings::SetWinapp2Tick(int row, bool ticked) {
    settingWinapp2_ = true;
    SetStateImage(Control(Winapp2List), row, ticked ? kTicked : kClear);
    settingWinapp2_ = false;
}

bool frmsettings::Winapp2TickRefused(const NMLISTVIEW& change) {
    if (settingWinapp2_ || (change.uChanged & LVIF_STATE) == 0 ||
        StateImage(change.uNewState) == StateImage(change.uOldState) || change.iItem < 0 ||
        change.iItem >= static_cast<int>(winapp2Rows_.size())) {
        return false;
    }
    const Winapp2Row& row = winapp2Rows_[static_cast<std::size_t>(change.iItem)];
    if (row.group || !row.refusal.empty()) {
        return true;  // neither a group's title nor a refused rule has a box
    }
    if (StateImage(change.uNewState) != kTicked || row.warning.empty()) {
        return false;
    }
    // The box stays clear until the warning is answered; asking at once would put a message
    // box in the middle of the click that ticked it.
    if (std::find(winapp2Asking_.begin(), winapp2Asking_.end(), change.iItem) ==
        winapp2Asking_.end()) {
        winapp2Asking_.push_back(change.iItem);
        PostMessageW(hwnd(), kAskWinapp2Warning, static_cast<WPARAM>(change.iItem), 0);
    }
    return true;
}

void frmsettings::AskWinapp2Warning(int row) {
    const auto asked = std::find(winapp2Asking_.begin(), winapp2Asking_.end(), row);
    if (asked == winapp2Asking_.end()) {
        return;  // the list was loaded anew meanwhile
    }
    winapp2Asking_.erase(asked);
    const Winapp2Row& rule = winapp2Rows_[static_cast<std::size_t>(row)];
    if (Winapp2Ticked(row)) {
        return;
    }
    if (Tell(rule.name + ":\r\n\r\n" + rule.warning, MB_OKCANCEL | MB_ICONWARNING) == IDOK) {
        SetWinapp2Tick(row, true);
    }
}

void frmsettings::ImportRules() {
    const std::optional<std::string> chosen =
        services_.pickRuleFile ? services_.pickRuleFile(hwnd()) : PickRuleFileWithDialog(hwnd());
    if (!chosen || chosen->empty()) {
        return;
    }
    std::string problem;
    if (ImportWinapp2(*chosen, programFolder_, problem) != 0) {
        Tell(problem, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // Boxes changed since the dialog opened keep their state where the new file has the rule.
    std::map<std::string, bool> ticks;
    for (std::size_t row = 0; row < winapp2Rows_.size(); ++row) {
        if (!winapp2Rows_[row].group && winapp2Rows_[row].refusal.empty()) {
            ticks[Winapp2Lower(winapp2Rows_[row].name)] = Winapp2Ticked(static_cast<int>(row));
        }
    }
    LoadWinapp2Rules();
    for (std::size_t row = 0; row < winapp2Rows_.size(); ++row) {
        const Winapp2Row& rule = winapp2Rows_[row];
        const auto kept = ticks.find(Winapp2Lower(rule.name));
        if (!rule.group && rule.refusal.empty() && kept != ticks.end()) {
            SetWinapp2Tick(static_cast<int>(row), kept->second);
        }
    }
}

void frmsettings::SaveWinapp2Ticks() {
    const std::string settings = SettingsFile();
    for (std::size_t row = 0; row < winapp2Rows_.size(); ++row) {
        const Winapp2Row& rule = winapp2Rows_[row];
        // A refused rule keeps what it had: the pass lists it as refused instead of running it.
        if (!rule.group && rule.refusal.empty()) {
            CarryOn(
                [&] { TickWinapp2(settings, rule.name, Winapp2Ticked(static_cast<int>(row))); });
        }
    }
}

LRESULT frmsettings::DrawWinapp2Row(const NMLVCUSTOMDRAW& draw) {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
        return CDRF_NOTIFYITEMDRAW;
    }
    const std::size_t row = draw.nmcd.dwItemSpec;
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT && row < winapp2Rows_.size() &&
        winapp2Rows_[row].group && boldFont_.get() != nullptr) {
        SelectObject(draw.nmcd.hdc, boldFont_.get());
        return CDRF_NEWFONT;
    }
    return CDRF_DODEFAULT;
}

int frmsettings::Tell(const std::string& text, UINT type) {
    const std::wstring wide = Widen(text);
    const std::wstring title = Widen(kAppTitle);
    if (services_.messageBox) {
        return services_.messageBox(hwnd(), wide, title, type);
    }
    return MessageBoxW(hwnd(), wide.c_str(), title.c_str(), type);
}

}  // namespace hm
