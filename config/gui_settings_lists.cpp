// frmsettings: the custom items list (ListView2) with "Add", "Remove" and "Clear", and the
// plug-in list (ListView1). Both lists hold their rows only in the list controls; "OK" writes
// what they show.
#include "config/gui_settings_dialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <optional>

#include "config/custom_list.h"
#include "config/inifun.h"
#include "config/plugin_list.h"
#include "config/settings_files.h"
#include "engine/clean_run.h"
#include "engine/normal.h"
#include "platform/files.h"
#include "platform/text.h"

namespace hm {
namespace {

int RowCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

std::string Cell(HWND list, int row, int column) {
    // Paths may be long; grow until the text fits.
    for (int size = 512; size <= 65536; size *= 4) {
        std::wstring buffer(static_cast<std::size_t>(size), L'\0');
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = size;
        const auto copied = static_cast<int>(
            SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
        if (copied < size - 1) {
            buffer.resize(static_cast<std::size_t>(copied));
            return Narrow(buffer);
        }
    }
    return {};
}

void SetCell(HWND list, int row, int column, const std::string& text) {
    std::wstring wide = Widen(text);
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = wide.data();
    SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

int AppendRow(HWND list, const std::vector<std::string>& cells) {
    std::wstring text = Widen(cells.empty() ? std::string() : cells.front());
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = RowCount(list);
    item.pszText = text.data();
    const auto row =
        static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    for (std::size_t column = 1; row >= 0 && column < cells.size(); ++column) {
        SetCell(list, row, static_cast<int>(column), cells[column]);
    }
    return row;
}

// The check mark of a list with check boxes is its state image: 1 clear, 2 ticked.
bool RowChecked(HWND list, int row) {
    const auto state = SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void SetRowChecked(HWND list, int row, bool checked) {
    LVITEMW item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

bool IsExistingFile(const std::string& path) {
    files::Info info;
    return files::QueryInfo(files::ToLongPath(path), info) == 0 &&
           (info.attributes & files::kDirectory) == 0;
}

std::optional<std::string> PickFilesWithDialog(HWND owner) {
    std::wstring buffer(32767, L'\0');
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"All files (*.*)\0*.*\0";
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrTitle = L"Open File";
    // 1573380: explorer style, several files, no read-only box, shortcuts as themselves.
    dialog.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | OFN_NODEREFERENCELINKS;
    if (!GetOpenFileNameW(&dialog)) {
        return std::nullopt;
    }
    // The answer ends at the first empty name.
    const std::size_t end = buffer.find(std::wstring_view(L"\0\0", 2));
    buffer.resize(end == std::wstring::npos ? buffer.size() : end);
    return Narrow(buffer);
}

std::optional<std::string> PickFolderWithShell(HWND owner) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    BROWSEINFOW browse = {};
    browse.hwndOwner = owner;
    browse.lpszTitle = L"Hushmark";
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
    std::optional<std::string> picked;
    if (PIDLIST_ABSOLUTE folder = SHBrowseForFolderW(&browse)) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(folder, path) && path[0] != L'\0') {
            picked = Narrow(path);
        }
        CoTaskMemFree(folder);
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return picked;
}

}  // namespace

void frmsettings::AddList(const std::string& folder, const std::string& extension) {
    HWND list = Control(ListView1);
    // The pass lists the plug-ins the same way, so it runs the rows shown here.
    for (const PluginEntry& plugin : ListPlugins(folder, extension)) {
        const int row =
            AppendRow(list, {plugin.appname, plugin.appver,
                             PluginDescription(plugin.appname, plugin.appver, plugin.decs)});
        if (row >= 0) {
            SetRowChecked(list, row, plugin.on);
        }
    }
}

void frmsettings::LoadCustomList() {
    std::vector<CustomLine> lines;
    if (!ReadCustomListFile(CustomListPath(programFolder_), lines)) {
        return;
    }
    HWND list = Control(ListView2);
    for (const CustomLine& line : lines) {
        CarryOn([&] {
            const CustomItemFacts facts = LookAtCustomItem(line.path);
            if (!facts.exists) {
                return;
            }
            const bool file = IsCustomFile(line);
            if (!file && !IsCustomFolder(line)) {
                AppendRow(list, {line.path});
                return;
            }
            // A line that calls a folder a file (or the other way round) shows no size or date.
            const bool matches = file != facts.isFolder;
            AppendRow(list, {line.path, file ? "File" : "Folder",
                             matches && facts.size ? SizeText(*facts.size, SizePattern::Padded)
                                                   : std::string(),
                             matches ? facts.modified : std::string()});
        });
    }
}

void frmsettings::AddCustomRow(const std::string& path, const char* type, SizePattern pattern) {
    const CustomItemFacts facts = LookAtCustomItem(path);
    // A name typed into the open-file dialog need not exist; the list would drop it on the
    // next opening anyway.
    if (!facts.exists) {
        return;
    }
    AppendRow(
        Control(ListView2),
        {path, type, facts.size ? SizeText(*facts.size, pattern) : std::string(), facts.modified});
}

void frmsettings::AddFiles() {
    const std::optional<std::string> answer =
        services_.pickFiles ? services_.pickFiles(hwnd()) : PickFilesWithDialog(hwnd());
    if (!answer) {
        return;
    }
    const FileSelection selection = ParseFileSelection(*answer);
    for (const std::string& name : selection.names) {
        if (!name.empty()) {
            CarryOn([&] { AddCustomRow(selection.folder + name, "File", SizePattern::Sparse); });
        }
    }
}

void frmsettings::AddFolders() {
    const std::optional<std::string> folder =
        services_.pickFolder ? services_.pickFolder(hwnd()) : PickFolderWithShell(hwnd());
    if (folder && !folder->empty()) {
        AddCustomRow(*folder, "Folder", SizePattern::Sparse);
    }
}

void frmsettings::RemoveSelectedRow() {
    HWND list = Control(ListView2);
    const auto row = static_cast<int>(
        SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row >= 0 && !Cell(list, row, 0).empty()) {
        SendMessageW(list, LVM_DELETEITEM, row, 0);
    }
}

void frmsettings::SaveCustomList() {
    HWND list = Control(ListView2);
    std::vector<CustomLine> lines;
    for (int row = 0; row < RowCount(list); ++row) {
        lines.push_back({Cell(list, row, 0), Cell(list, row, 1), true});
    }
    WriteCustomListFile(CustomListPath(programFolder_), lines);
}

void frmsettings::SavePluginSwitches() {
    HWND list = Control(ListView1);
    for (int row = 0; row < RowCount(list); ++row) {
        CarryOn([&] {
            // The switch goes to the file named after the row's appname, which the pass runs.
            // Where there is none, a new file would hold nothing but the switch and come back
            // as a nameless row on the next opening.
            const std::string file = PluginSwitchFile(programFolder_, Cell(list, row, 0));
            if (!file.empty() && IsExistingFile(file)) {
                WriteIniValue(file, "swich", "on", RowChecked(list, row) ? "1" : "0");
            }
        });
    }
}

}  // namespace hm
