#include "regclean/gui_cleaner_dialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include "platform/path_rules.h"
#include "platform/text.h"
#include "regclean/cleaner.h"

namespace hm::regclean {
namespace {

constexpr UINT kScanOnOpen = WM_APP + 1;
constexpr const wchar_t* kTitle = L"Mobrin Registry Cleaner";

// Column widths in dialog units, so that they grow with the font and the screen's DPI.
constexpr int kColumnWidths[] = {62, 160, 70, 130, 130};
constexpr const char* kColumnTitles[] = {"Category", "Key", "Value", "Points at", "Why"};

std::string Plural(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string DefaultChooser(HWND owner, const std::string& folder) {
    wchar_t file[MAX_PATH * 4] = {};
    const std::wstring initial = Widen(folder);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"Registry backups (*.reg)\0*.reg\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = static_cast<DWORD>(std::size(file));
    dialog.lpstrInitialDir = initial.c_str();
    dialog.lpstrTitle = L"Restore a registry backup";
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    return GetOpenFileNameW(&dialog) ? Narrow(file) : std::string();
}

}  // namespace

RegistryCleanerDialog::RegistryCleanerDialog(CleanerSettings settings)
    : Dialog(IDD_REGCLEAN), settings_(std::move(settings)) {}

std::string RegistryCleanerDialog::ScopeText(bool machineIncluded) {
    return machineIncluded
               ? "Checks the current user's entries and, because Mobrin runs with administrator "
                 "rights, the machine-wide entries too."
               : "Checks the current user's entries only. Machine-wide entries are checked when "
                 "Mobrin runs with administrator rights.";
}

bool RegistryCleanerDialog::OnInit() {
    SetItemText(Scope, ScopeText(settings_.scope.includeMachine));
    SetItemText(Status, "Press Scan to look for entries that point at missing files.");
    const HWND list = Item(List);
    ListView_SetExtendedListViewStyle(
        list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP);
    for (int column = 0; column < kColumnCount; ++column) {
        RECT width = {0, 0, kColumnWidths[column], 0};
        MapDialogRect(hwnd(), &width);
        std::wstring title = Widen(kColumnTitles[column]);
        LVCOLUMNW info = {};
        info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        info.cx = width.right;
        info.pszText = title.data();
        info.iSubItem = column;
        ListView_InsertColumn(list, column, &info);
    }
    HICON icon = LoadIconW(Module(), MAKEINTRESOURCEW(IDI_MOBRIN));
    if (icon != nullptr) {
        SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    // The layout grows from the template's own sizes.
    GetClientRect(hwnd(), &initialClient_);
    for (int id : {static_cast<int>(Scope), static_cast<int>(List), static_cast<int>(Status),
                   static_cast<int>(ScanButton), static_cast<int>(FixButton),
                   static_cast<int>(RestoreButton), IDCANCEL}) {
        RECT box = {};
        GetWindowRect(Item(id), &box);
        MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&box), 2);
        initialBoxes_.emplace_back(id, box);
    }
    RECT window = {};
    GetWindowRect(hwnd(), &window);
    minimum_ = {window.right - window.left, window.bottom - window.top};
    if (settings_.scanOnOpen) {
        PostMessageW(hwnd(), kScanOnOpen, 0, 0);
    }
    return true;
}

bool RegistryCleanerDialog::OnCommand(int id, int code) {
    switch (id) {
        case ScanButton:
            RunScan();
            return true;
        case FixButton:
            FixSelected();
            return true;
        case RestoreButton:
            RestoreChosen();
            return true;
        case IDOK:
            return true;  // Enter in the list must not close the window
        default:
            return Dialog::OnCommand(id, code);
    }
}

bool RegistryCleanerDialog::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case kScanOnOpen:
            RunScan();
            result = 0;
            return true;
        case WM_SIZE:
            Layout();
            result = 0;
            return true;
        case WM_GETMINMAXINFO:
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {minimum_.cx, minimum_.cy};
            result = 0;
            return minimum_.cx > 0;
        default:
            return false;
    }
}

void RegistryCleanerDialog::Layout() {
    if (initialBoxes_.empty()) {
        return;
    }
    RECT client = {};
    GetClientRect(hwnd(), &client);
    const int dx = client.right - initialClient_.right;
    const int dy = client.bottom - initialClient_.bottom;
    for (const auto& [id, box] : initialBoxes_) {
        RECT now = box;
        if (id == Scope || id == List || id == Status) {
            now.right += dx;  // the texts and the list take the new width
        }
        if (id == List) {
            now.bottom += dy;
        } else if (id != Scope) {
            OffsetRect(&now, id == IDCANCEL ? dx : 0, dy);
        }
        MoveWindow(Item(id), now.left, now.top, now.right - now.left, now.bottom - now.top, TRUE);
    }
}

void RegistryCleanerDialog::RunScan() {
    SetItemText(Status, "Scanning...");
    UpdateWindow(hwnd());
    const HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    findings_ = ScanRegistry(settings_.scope);
    SetCursor(previous);
    Fill();
    const std::size_t ticked = Ticked().size();
    SetItemText(Status, findings_.empty()
                            ? std::string("No entries point at missing files.")
                            : Plural(findings_.size(), "entry points", "entries point") +
                                  " at missing files; " + std::to_string(ticked) +
                                  " ticked. Uninstall entries are never ticked for you.");
}

void RegistryCleanerDialog::Fill() {
    const HWND list = Item(List);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    for (std::size_t index = 0; index < findings_.size(); ++index) {
        const Finding& finding = findings_[index];
        const std::string texts[kColumnCount] = {std::string(CategoryTitle(finding.category)),
                                                 finding.key, finding.value, finding.pointsAt,
                                                 finding.reason};
        std::wstring first = Widen(texts[0]);
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = static_cast<int>(index);
        item.pszText = first.data();
        item.lParam = static_cast<LPARAM>(index);
        const int row = ListView_InsertItem(list, &item);
        for (int column = 1; column < kColumnCount; ++column) {
            std::wstring text = Widen(texts[column]);
            ListView_SetItemText(list, row, column, text.data());
        }
        ListView_SetCheckState(list, row, TickedByDefault(finding.category));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

std::vector<Finding> RegistryCleanerDialog::Ticked() const {
    std::vector<Finding> ticked;
    const HWND list = Item(List);
    const int rows = ListView_GetItemCount(list);
    for (int row = 0; row < rows; ++row) {
        LVITEMW item = {};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        if (ListView_GetCheckState(list, row) && ListView_GetItem(list, &item) &&
            static_cast<std::size_t>(item.lParam) < findings_.size()) {
            ticked.push_back(findings_[static_cast<std::size_t>(item.lParam)]);
        }
    }
    return ticked;
}

int RegistryCleanerDialog::Ask(const std::string& text, UINT flags) {
    if (settings_.ask) {
        return settings_.ask(hwnd(), text, flags);
    }
    return MessageBoxW(hwnd(), Widen(text).c_str(), kTitle, flags);
}

void RegistryCleanerDialog::FixSelected() {
    const std::vector<Finding> chosen = Ticked();
    if (chosen.empty()) {
        SetItemText(Status, "Tick the entries to fix first.");
        return;
    }
    if (Ask("Remove " + Plural(chosen.size(), "entry", "entries") +
                " from the registry?\n\nEverything removed is first saved to a backup file in\n" +
                settings_.backupsFolder + "\nwhich Restore... can put back.",
            MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    const std::string backup = NewBackupPath(settings_.backupsFolder);
    const FixReport report = FixWithBackup(chosen, backup, registry_);
    if (backup.empty() || !report.error.empty()) {
        const std::string why =
            backup.empty() ? "the folder " + settings_.backupsFolder + " cannot hold a backup file"
                           : report.error;
        Ask("Nothing was changed: " + why + ".", MB_OK | MB_ICONERROR);
        SetItemText(Status, "Nothing was changed: " + why + ".");
        return;
    }
    RunScan();
    std::string status = "Removed " + Plural(report.result.fixed.size(), "entry", "entries") + ".";
    const std::size_t stayed = report.plan.leftAlone.size() + report.result.failed.size();
    if (stayed > 0) {
        status += " " + Plural(stayed, "entry", "entries") + " could not be removed.";
    }
    if (!report.backupPath.empty()) {
        status += " Backup: " + std::string(FileNameOf(report.backupPath));
    }
    SetItemText(Status, status);
}

void RegistryCleanerDialog::RestoreChosen() {
    const std::string file = settings_.chooseBackup
                                 ? settings_.chooseBackup(hwnd(), settings_.backupsFolder)
                                 : DefaultChooser(hwnd(), settings_.backupsFolder);
    if (file.empty()) {
        return;
    }
    if (Ask("Write the keys and values saved in\n" + file + "\nback into the registry?",
            MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    const RestoreResult result = RestoreFromFile(file, registry_);
    if (!result.ok) {
        Ask("Nothing was restored: " + result.error + ".", MB_OK | MB_ICONERROR);
        return;
    }
    RunScan();
    std::string status = "Restored " +
                         Plural(static_cast<std::size_t>(result.keys), "key", "keys") + " and " +
                         Plural(static_cast<std::size_t>(result.values), "value", "values") +
                         " from " + std::string(FileNameOf(file)) + ".";
    if (!result.failures.empty()) {
        status += " " + Plural(result.failures.size(), "item", "items") + " could not be written.";
    }
    SetItemText(Status, status);
}

}  // namespace hm::regclean
