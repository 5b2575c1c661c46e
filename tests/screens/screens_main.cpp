// Shows one window of the program on its own, for screenshots taken from outside: the window
// named on the command line is shown, then "ready" is written into the marker folder, and the
// program lets the window's messages run until the file "done" appears there (or a minute
// passes).
//   hm_screens.exe <marker folder> <window>
// Windows: splash, main-home, main-status, main-analyze, details, about, options-general,
// options-schedule, options-homepage, frmurl, frmcookie, notification, and the clean-items
// dialog's tabs as frmsettings-TAB (TAB as in kSettingsTabs).
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <sqlite3.h>

#include <functional>
#include <memory>
#include <string>

#include "app/gui_about_dialog.h"
#include "app/gui_application.h"
#include "app/gui_details_dialog.h"
#include "app/gui_options_dialog.h"
#include "config/custom_list.h"
#include "config/gui_settings_dialog.h"
#include "keeplists/gui_cookie_dialog.h"
#include "keeplists/gui_url_dialog.h"
#include "app/gui_message_loop.h"
#include "config/inifun.h"
#include "platform/files.h"
#include "platform/path_rules.h"
#include "platform/text.h"

namespace hm {
namespace {

class NoLauncher : public Launcher {
public:
    void Open(const std::string&) override {}
    void Start(const std::string&) override {}
};

bool Exists(const std::string& path) {
    files::Info info;
    return files::QueryInfo(files::ToLongPath(path), info) == 0;
}

void PumpUntilDone(const std::string& markers) {
    files::WriteWholeFile(JoinPath(markers, "ready"), "ready");
    const ULONGLONG deadline = GetTickCount64() + 60000;
    while (!Exists(JoinPath(markers, "done")) && GetTickCount64() < deadline) {
        message_loop::PumpPending();
        Sleep(50);
    }
}

// Browser files and a Run history in the screenshots' throwaway profile, for the analysis.
void SeedTraces() {
    wchar_t roaming[MAX_PATH] = {};
    wchar_t local[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, roaming);
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local);
    const struct {
        const wchar_t* profile;
        int places;
        int cookies;
    } profiles[] = {{L"k3v9x2.default", 5242880, 524288},
                    {L"q81mz0.dev-edition", 2516582, 98304},
                    {L"7tb2wd.work", 778240, 1572864}};
    for (const auto& profile : profiles) {
        const std::wstring folder =
            std::wstring(roaming) + L"\\Mozilla\\Firefox\\Profiles\\" + profile.profile;
        SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
        files::WriteWholeFile(Narrow(folder + L"\\places.sqlite"),
                              std::string(static_cast<size_t>(profile.places), 'p'));
        files::WriteWholeFile(Narrow(folder + L"\\cookies.sqlite"),
                              std::string(static_cast<size_t>(profile.cookies), 'c'));
        const std::wstring cache = std::wstring(local) +
                                   L"\\Mozilla\\Firefox\\Profiles\\" + profile.profile +
                                   L"\\cache\\entries";
        SHCreateDirectoryExW(nullptr, cache.c_str(), nullptr);
        files::WriteWholeFile(Narrow(cache + L"\\0A1F3C"),
                              std::string(static_cast<size_t>(profile.cookies), 'e'));
    }
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER,
                        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU",
                        0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        const wchar_t text[] = L"notepad\\1";
        RegSetValueExW(key, L"a", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text));
        RegCloseKey(key);
    }
}

// A Firefox profile and a Chrome profile with cookies, and IE cookie files, for frmcookie.
void SeedCookies() {
    wchar_t roaming[MAX_PATH] = {};
    wchar_t local[MAX_PATH] = {};
    wchar_t ie[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, roaming);
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local);
    SHGetFolderPathW(nullptr, CSIDL_COOKIES | CSIDL_FLAG_CREATE, nullptr, 0, ie);
    for (const wchar_t* name : {L"\\user@news.example[1].txt", L"\\user@bank.example[2].txt"}) {
        files::WriteWholeFile(Narrow(std::wstring(ie) + name), "id\nx1\nexample/\n");
    }
    const std::string firefox = Narrow(roaming) + "\\Mozilla\\Firefox";
    SHCreateDirectoryExW(nullptr, Widen(firefox + "\\Profiles\\k3v9x2.default").c_str(), nullptr);
    files::WriteWholeFile(firefox + "\\profiles.ini",
                          "[Profile0]\r\nName=default-release\r\nIsRelative=1\r\n"
                          "Path=Profiles/k3v9x2.default\r\n");
    const std::string chrome = Narrow(local) + "\\Google\\Chrome\\User Data\\Default";
    SHCreateDirectoryExW(nullptr, Widen(chrome + "\\Network").c_str(), nullptr);
    files::WriteWholeFile(chrome + "\\Preferences", "{}");
    const struct {
        std::string path;
        const char* sql;
    } databases[] = {
        {firefox + "\\Profiles\\k3v9x2.default\\cookies.sqlite",
         "PRAGMA journal_mode=wal; CREATE TABLE moz_cookies (host TEXT);"
         "INSERT INTO moz_cookies VALUES ('.github.com'), ('.mail.example.org'),"
         "('localhost'), ('.wikipedia.org'), ('www.wikipedia.org');"},
        {chrome + "\\Network\\Cookies",
         "CREATE TABLE cookies (host_key TEXT);"
         "INSERT INTO cookies VALUES ('.github.com'), ('accounts.example.net'), ('.shop.example');"},
    };
    for (const auto& database : databases) {
        sqlite3* db = nullptr;
        if (sqlite3_open(database.path.c_str(), &db) == SQLITE_OK) {
            sqlite3_exec(db, database.sql, nullptr, nullptr, nullptr);
        }
        sqlite3_close(db);
    }
}

// The clean-items dialog's pages: the tab of SSTab1 and, on a tab with tabs of its own, the
// sub-tab.
struct SettingsTab {
    const char* name;
    int tab;
    int subTab;
};
constexpr SettingsTab kSettingsTabs[] = {
    {"browsers", 0, 0},    {"firefox", 0, 1},       {"opera", 0, 2},
    {"netscape", 0, 3},    {"aol", 0, 4},           {"msn", 0, 5},
    {"mozilla", 0, 6},     {"maxthon", 0, 7},       {"chrome", 0, 8},
    {"safari", 0, 9},      {"today-firefox", 1, 0}, {"today-chrome", 1, 1},
    {"today-edge", 1, 2},  {"today-brave", 1, 3},   {"today-vivaldi", 1, 4},
    {"today-opera", 1, 5}, {"today-operagx", 1, 6}, {"today-chromium", 1, 7},
    {"windows", 2, -1},    {"office", 3, -1},       {"applications", 4, -1},
    {"custom", 5, -1},     {"messaging", 6, -1},    {"email", 7, -1},
    {"winapp2", 8, -1}};

// Community rules for the "Community Rules" tab: rules that apply, one with a warning, two that
// are refused, and one for a program that is not there.
constexpr const char* kScreenRules =
    "[Notepad Backups *]\r\nSection=Windows\r\nDetectFile=%WinDir%\\notepad.exe\r\n"
    "FileKey1=%AppData%\\Notepad|*.bak;*.tmp\r\n"
    "[Thumbnail Cache *]\r\nSection=Windows\r\nDetectFile=%WinDir%\\explorer.exe\r\n"
    "Warning=Folders with many pictures open slowly until their thumbnails are made again.\r\n"
    "FileKey1=%LocalAppData%\\Microsoft\\Windows\\Explorer|thumbcache_*.db\r\n"
    "[Windows Logs *]\r\nSection=Windows\r\nFileKey1=%WinDir%|*.log|RECURSE\r\n"
    "[Help Viewer History *]\r\nLangSecRef=3024\r\nDetectFile=%WinDir%\\hh.exe\r\n"
    "RegKey1=HKCU\\Software\\Microsoft\\HTML Help\\Recent\r\n"
    "[Shared Download Cache *]\r\nLangSecRef=3022\r\n"
    "FileKey1=\\\\fileserver\\downloads\\cache|*.*\r\n"
    "[Absent Editor *]\r\nSection=Windows\r\nDetectFile=%ProgramFiles%\\Absent Editor\r\n"
    "FileKey1=%ProgramFiles%\\Absent Editor\\Temp|*.*\r\n";

int ShowSettings(const std::string& program, Application& app, const std::string& name,
                 const std::string& markers) {
    for (const SettingsTab& page : kSettingsTabs) {
        if (name != page.name) {
            continue;
        }
        const std::string notes = JoinPath(program, "notes.txt");
        files::WriteWholeFile(notes, std::string(512 * 1024, 'n'));
        const std::string folder = JoinPath(program, "plus-in");
        CreateDirectoryW(Widen(folder).c_str(), nullptr);
        // The plug-ins that ship, from the build folder above this program's.
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring shipped = self;
        shipped.resize(shipped.find_last_of(L'\\'));
        shipped.resize(shipped.find_last_of(L'\\'));
        shipped += L"\\plus-in\\";
        WIN32_FIND_DATAW found;
        const HANDLE find = FindFirstFileW((shipped + L"*.hmx").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                CopyFileW((shipped + found.cFileName).c_str(),
                          (Widen(folder) + L"\\" + found.cFileName).c_str(), FALSE);
            } while (FindNextFileW(find, &found));
            FindClose(find);
        }
        WriteCustomListFile(CustomListPath(program),
                            {{notes, "File", true}, {folder, "Folder", true}});
        if (name == "winapp2") {
            files::WriteWholeFile(JoinPath(program, "winapp2.ini"), kScreenRules);
            WriteIniValue(JoinPath(program, "hushsd.dat"), "Winapp2", "Notepad Backups", "1");
        }
        Regfun registry(app.window());
        frmsettings settings(program, registry);
        settings.ShowModeless(app.window().hwnd());
        settings.ShowTab(page.tab);
        if (page.subTab >= 0) {
            settings.ShowSubTab(page.tab, page.subTab);
        }
        PumpUntilDone(markers);
        return 0;
    }
    return 2;
}

int Show(const std::string& markers, const std::string& window) {
    const std::string program = JoinPath(markers, "program");
    CreateDirectoryW(Widen(program).c_str(), nullptr);
    const std::string settings = JoinPath(program, "hushsd.dat");
    WriteIniValue(settings, "Options", "lastclean", "12/8/2026 9:41:07 AM");
    WriteIniValue(settings, "Options", "regnum", "143");
    WriteIniValue(settings, "Options", "filesize", "48803840");
    WriteIniValue(settings, "Options", "bosskey", "0");
    for (const char* key : {"Address", "Cookies", "cache", "History", "Download"}) {
        WriteIniValue(settings, "FIREFOX", key, "1");
    }
    for (const char* key : {"run", "search", "open", "clip", "recentlyused"}) {
        WriteIniValue(settings, "WINDOWS", key, "1");
    }
    NoLauncher launcher;
    AppServices services;
    services.launcher = &launcher;
    services.messageBox = [](HWND, const std::wstring&, const std::wstring&, UINT) { return IDOK; };
    services.endProcess = [] {};
    Application app(program, "", services);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (window == "splash") {
        if (!app.Start(instance)) {
            return 1;
        }
        PumpUntilDone(markers);
        return 0;
    }
    if (!app.Load(instance)) {
        return 1;
    }
    app.ShowMainWindow();
    if (window == "main-status") {
        app.OnCommand(IDC_COMMAND1);
        app.window().SelectImage(IDC_IMAGE3);
    } else if (window == "main-analyze" || window == "details") {
        SeedTraces();
        app.window().SelectImage(IDC_IMAGE3);
        app.OnCommand(IDM_ANALYZE2);
        if (window == "details" && !app.analysis().empty()) {
            DetailsDialog details(app.analysis().front());
            details.ShowModeless(app.window().hwnd());
            details.SortBy(TraceColumn::Size);
            PumpUntilDone(markers);
            return 0;
        }
    } else if (window == "main-home") {
        app.window().SelectImage(IDC_IMAGE1);
    } else if (window == "about") {
        AboutDialog about([] {}, [] {});
        about.ShowModeless(app.window().hwnd());
        PumpUntilDone(markers);
        return 0;
    } else if (window.rfind("options-", 0) == 0) {
        Regfun registry(app.window());
        Frmoption options(program, registry, app.values(), [](bool) {});
        options.ShowModeless(app.window().hwnd());
        options.ShowPage(window == "options-general"    ? Frmoption::kGeneral
                         : window == "options-schedule" ? Frmoption::kSchedule
                                                        : Frmoption::kHomepage);
        PumpUntilDone(markers);
        return 0;
    } else if (window == "frmurl") {
        files::WriteWholeFile(JoinPath(program, "keepurl.dat"),
                              "http://news.example/\r\nhttp://mail.example/inbox\r\n");
        frmurl urls(program);
        urls.ShowModeless(app.window().hwnd());
        PumpUntilDone(markers);
        return 0;
    } else if (window == "frmcookie") {
        SeedCookies();
        files::WriteWholeFile(JoinPath(program, "keepcook.dat"), "github.com\r\nlocalhost\r\n");
        Regfun registry(app.window());
        frmcookie cookies(program, registry);
        cookies.ShowModeless(app.window().hwnd());
        // A site clicked, so that the preview shows the browsers holding its cookies.
        const HWND found = cookies.Item(frmcookie::lstCookieList);
        const LRESULT github = SendMessageW(found, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(L"github.com"));
        SendMessageW(found, LB_SETCURSEL, static_cast<WPARAM>(github), 0);
        SendMessageW(cookies.hwnd(), WM_COMMAND,
                     MAKEWPARAM(frmcookie::lstCookieList, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(found));
        PumpUntilDone(markers);
        return 0;
    } else if (window.rfind("frmsettings-", 0) == 0) {
        return ShowSettings(program, app, window.substr(12), markers);
    } else if (window == "notification") {
        app.CleanNow(true);
        app.notifications().Pump();
    } else {
        return 2;
    }
    PumpUntilDone(markers);
    return 0;
}

}  // namespace
}  // namespace hm

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        return 2;
    }
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                                           ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    return hm::Show(hm::Narrow(argv[1]), hm::Narrow(argv[2]));
}
