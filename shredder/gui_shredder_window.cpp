#include "shredder/gui_shredder_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "app/gui_message_loop.h"
#include "platform/files.h"
#include "platform/path_rules.h"
#include "platform/shell.h"
#include "platform/shred_rules.h"
#include "platform/text.h"
#include "shredder/gui_list.h"
#include "shredder/gui_pickers.h"
#include "shredder/shredder_ids.h"

namespace hm {
namespace {

constexpr const char* kTitle = "Hushmark File Shredder";
constexpr int kProgressSteps = 1000;
constexpr unsigned long long kProgressEveryMs = 50;
constexpr size_t kNamedRefusals = 8;

std::string ExecutableFolder() {
    wchar_t path[32768] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, 32768);
    return std::string(ParentOf(Narrow(std::wstring(path, length < 32768 ? length : 0))));
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// "path: reason" lines, at most a few, then how many more.
std::string RefusalLines(const std::vector<shred::Refusal>& refused) {
    std::string lines;
    for (size_t i = 0; i < refused.size() && i < kNamedRefusals; ++i) {
        lines += "\n" + refused[i].path + ": " + refused[i].reason;
    }
    if (refused.size() > kNamedRefusals) {
        lines += "\n... and " + std::to_string(refused.size() - kNamedRefusals) + " more";
    }
    return lines;
}

std::string ContentsText(shred::ItemKind kind, std::uint64_t files) {
    switch (kind) {
        case shred::ItemKind::File:
            return "file";
        case shred::ItemKind::Link:
            return "link (removed as a link)";
        case shred::ItemKind::Folder:
            return "folder, " + shred::Counted(files, "file");
    }
    return {};
}

}  // namespace

ShredderWindow::ShredderWindow(ShredderServices services)
    : Dialog(IDD_SHREDDER), services_(std::move(services)) {
    INITCOMMONCONTROLSEX controls = {
        sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

ShredderWindow::~ShredderWindow() = default;

shred::Guard ShredderWindow::MakeGuard() const {
    return services_.guard ? services_.guard() : shred::Guard::ForThisProcess();
}

int ShredderWindow::Ask(const std::string& text, UINT type) {
    const std::wstring wide = Widen(text);
    const std::wstring title = Widen(kTitle);
    if (services_.messageBox) {
        return services_.messageBox(hwnd(), wide, title, type);
    }
    return MessageBoxW(hwnd(), wide.c_str(), title.c_str(), type);
}

bool ShredderWindow::OnInit() {
    HICON icon = LoadIconW(Module(), MAKEINTRESOURCEW(1));
    if (icon == nullptr) {
        icon = LoadIconW(nullptr, IDI_APPLICATION);
    }
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SetUpList(hwnd(), Item(IDC_SHR_LIST), {{"File or folder", 170}, {"Bytes", 52}, {"Kind", 62}});
    HWND method = Item(IDC_SHR_METHOD);
    SendMessageW(method, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(L"One pass of random data (recommended)"));
    SendMessageW(method, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(L"Three passes of random data (slower)"));
    SendMessageW(method, CB_SETCURSEL, kOnePass, 0);
    SendMessageW(Item(IDC_SHR_PROGRESS), PBM_SETRANGE32, 0, kProgressSteps);
    // Explorer runs with fewer rights than an elevated shredder; let its drops through.
    ChangeWindowMessageFilterEx(hwnd(), WM_DROPFILES, MSGFLT_ALLOW, nullptr);
    ChangeWindowMessageFilterEx(hwnd(), WM_COPYDATA, MSGFLT_ALLOW, nullptr);
    ChangeWindowMessageFilterEx(hwnd(), 0x0049 /* WM_COPYGLOBALDATA */, MSGFLT_ALLOW, nullptr);
    DragAcceptFiles(hwnd(), TRUE);
    SetItemText(IDC_SHR_STATUS, "Ready.");
    RefreshList();
    return true;
}

int ShredderWindow::Passes() const {
    return SendMessageW(Item(IDC_SHR_METHOD), CB_GETCURSEL, 0, 0) == kThreePasses ? 3 : 1;
}

std::vector<std::string> ShredderWindow::ListedPaths() const {
    std::vector<std::string> paths;
    for (const Entry& entry : entries_) {
        paths.push_back(entry.path);
    }
    return paths;
}

void ShredderWindow::AddPaths(const std::vector<std::string>& paths) {
    if (running_) {
        return;
    }
    const shred::Guard guard = MakeGuard();
    std::vector<shred::Refusal> refused;
    for (const std::string& path : paths) {
        const shred::Plan plan = shred::MakePlan({path}, guard);
        if (plan.items.empty()) {
            refused.insert(refused.end(), plan.refused.begin(), plan.refused.end());
            continue;
        }
        // The given item itself comes last: a folder follows everything in it.
        const shred::PlannedItem& top = plan.items.back();
        const bool listed = std::any_of(entries_.begin(), entries_.end(), [&](const Entry& entry) {
            return CompareStringOrdinal(entry.longPath.c_str(), -1, top.path.c_str(), -1, TRUE) ==
                   CSTR_EQUAL;
        });
        if (!listed) {
            entries_.push_back(
                {files::ToDisplayPath(top.path), top.path, top.kind, plan.files, plan.bytes});
        }
    }
    RefreshList();
    if (!refused.empty()) {
        Ask("These cannot be shredded:\n" + RefusalLines(refused), MB_OK | MB_ICONEXCLAMATION);
    }
}

void ShredderWindow::RefreshList() {
    HWND list = Item(IDC_SHR_LIST);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
    for (const Entry& entry : entries_) {
        AppendRow(list, {entry.path, shred::GroupedNumber(entry.bytes),
                         ContentsText(entry.kind, entry.files)});
        files += entry.files;
        bytes += entry.bytes;
    }
    SetItemText(IDC_SHR_TOTAL, entries_.empty() ? std::string("Nothing added yet.")
                                                : shred::Counted(entries_.size(), "item") + ": " +
                                                      shred::Counted(files, "file") + ", " +
                                                      shred::Counted(bytes, "byte"));
    EnableWindow(Item(IDC_SHR_SHRED), !running_ && !entries_.empty());
}

void ShredderWindow::RemoveSelected() {
    HWND list = Item(IDC_SHR_LIST);
    for (int row = static_cast<int>(entries_.size()) - 1; row >= 0; --row) {
        if (SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) {
            entries_.erase(entries_.begin() + row);
        }
    }
    RefreshList();
}

void ShredderWindow::SetRunning(bool running) {
    running_ = running;
    for (int id :
         {IDC_SHR_ADDFILES, IDC_SHR_ADDFOLDER, IDC_SHR_REMOVE, IDC_SHR_CLEAR, IDC_SHR_METHOD}) {
        EnableWindow(Item(id), !running);
    }
    EnableWindow(Item(IDC_SHR_STOP), running);
    EnableWindow(Item(IDC_SHR_SHRED), !running && !entries_.empty());
    DragAcceptFiles(hwnd(), running ? FALSE : TRUE);
    SetFocus(Item(running ? IDC_SHR_STOP : IDC_SHR_SHRED));
}

bool ShredderWindow::ShowProgress(std::uint64_t done, std::uint64_t total) {
    const unsigned long long now = GetTickCount64();
    if (now - lastShown_ >= kProgressEveryMs || done == total) {
        lastShown_ = now;
        const std::uint64_t step = total == 0 ? kProgressSteps : done * kProgressSteps / total;
        SendMessageW(Item(IDC_SHR_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(step), 0);
        const std::uint64_t file = std::min(filesDone_ + 1, filesTotal_);
        SetItemText(IDC_SHR_STATUS, "Shredding file " + shred::GroupedNumber(file) + " of " +
                                        shred::GroupedNumber(filesTotal_) + ": " +
                                        shred::GroupedNumber(done) + " of " +
                                        shred::Counted(total, "byte") + " done.");
    }
    message_loop::PumpPending();
    return !stopAsked_;
}

void ShredderWindow::Shred() {
    if (running_ || entries_.empty()) {
        return;
    }
    const int passes = Passes();
    const shred::Plan plan = shred::MakePlan(ListedPaths(), MakeGuard());
    if (plan.items.empty()) {
        Ask("Nothing can be shredded:\n" + RefusalLines(plan.refused), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    std::string question = shred::ConfirmationText(plan.files, plan.bytes, plan.links, passes);
    if (!plan.refused.empty()) {
        question += "\n\nLeft out:" + RefusalLines(plan.refused);
    }
    if (Ask(question, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES) {
        return;
    }
    stopAsked_ = false;
    filesDone_ = 0;
    filesTotal_ = plan.files;
    lastShown_ = 0;
    SetRunning(true);
    shred::RunHooks hooks;
    hooks.progress = [this](std::uint64_t done, std::uint64_t total) {
        return ShowProgress(done, total);
    };
    hooks.itemDone = [this](const shred::ItemResult& result) {
        filesDone_ += result.kind == shred::ItemKind::File ? 1 : 0;
    };
    const shred::RunReport report = shred::RunPlan(plan, passes, hooks);
    SetRunning(false);

    // What is gone leaves the list; what stays is listed again with what is left of it.
    const shred::Guard guard = MakeGuard();
    std::vector<Entry> left;
    for (Entry& entry : entries_) {
        const shred::Plan rest = shred::MakePlan({entry.path}, guard);
        if (!rest.items.empty()) {
            entry.files = rest.files;
            entry.bytes = rest.bytes;
            left.push_back(std::move(entry));
        }
    }
    entries_ = std::move(left);
    RefreshList();
    const std::string summary = shred::SummaryText(report, plan.refused.size(), passes);
    SetItemText(IDC_SHR_STATUS, summary);
    if (!report.stopped) {
        SendMessageW(Item(IDC_SHR_PROGRESS), PBM_SETPOS, kProgressSteps, 0);
    }
    const ShredReport shown{summary, plan.refused, report.results};
    if (services_.showReport) {
        services_.showReport(hwnd(), shown);
    } else {
        ShredReportDialog(shown).ShowModal(hwnd());
    }
    if (closeAsked_) {
        Close(IDCANCEL);
    }
}

void ShredderWindow::AddFiles() {
    AddPaths(PickFiles(hwnd()));
}

void ShredderWindow::AddFolder() {
    if (const std::optional<std::string> folder = PickFolder(hwnd())) {
        AddPaths({*folder});
    }
}

void ShredderWindow::ShowHelp() {
    wchar_t windows[MAX_PATH + 1] = {};
    GetWindowsDirectoryW(windows, MAX_PATH + 1);
    const std::string command =
        Quoted(JoinPath(Narrow(windows), "hh.exe")) + " " +
        Quoted(JoinPath(ExecutableFolder(), "help.chm") + "::/shredder.html");
    if (services_.startProgram) {
        services_.startProgram(command);
        return;
    }
    ScopedHandle process;
    shell::StartProgram(command, SW_SHOWNORMAL, process);
}

bool ShredderWindow::OnCommand(int id, int code) {
    if (code != BN_CLICKED) {
        return false;
    }
    switch (id) {
        case IDC_SHR_ADDFILES:
            AddFiles();
            return true;
        case IDC_SHR_ADDFOLDER:
            AddFolder();
            return true;
        case IDC_SHR_REMOVE:
            RemoveSelected();
            return true;
        case IDC_SHR_CLEAR:
            entries_.clear();
            RefreshList();
            return true;
        case IDC_SHR_SHRED:
            Shred();
            return true;
        case IDC_SHR_STOP:
            if (running_) {
                stopAsked_ = true;
                SetItemText(IDC_SHR_STATUS, "Stopping after the part being written...");
            }
            return true;
        case IDC_SHR_HELP:
            ShowHelp();
            return true;
        case IDOK:
            return true;  // Enter presses the default button, "Shred", which has its own id
        default:
            return Dialog::OnCommand(id, code);
    }
}

void ShredderWindow::OnCancel() {
    if (running_) {
        // Escape and "Close" during a run stop it; the window stays for the report.
        stopAsked_ = true;
        return;
    }
    Close(IDCANCEL);
}

LRESULT ShredderWindow::OnNotify(const NMHDR& header) {
    if (header.idFrom == IDC_SHR_LIST && header.code == LVN_KEYDOWN && !running_ &&
        reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_DELETE) {
        RemoveSelected();
    }
    return 0;
}

bool ShredderWindow::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == WM_DROPFILES) {
        auto* drop = reinterpret_cast<HDROP>(wParam);
        std::vector<std::string> paths;
        const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            const UINT length = DragQueryFileW(drop, i, nullptr, 0);
            std::wstring path(length + 1, L'\0');
            DragQueryFileW(drop, i, path.data(), length + 1);
            path.resize(length);
            paths.push_back(Narrow(path));
        }
        DragFinish(drop);
        AddPaths(paths);
        result = 0;
        return true;
    }
    if (message == WM_CLOSE && running_) {
        // The close box during a run: stop, show the report, then close.
        stopAsked_ = true;
        closeAsked_ = true;
        result = 0;
        return true;
    }
    return false;
}

void ShredderWindow::OnDestroyed() {
    if (services_.quitOnClose) {
        PostQuitMessage(0);
    }
}

}  // namespace hm
