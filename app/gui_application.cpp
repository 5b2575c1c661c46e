#include "app/gui_application.h"

#include <utility>

#include "app/gui_about_dialog.h"
#include "app/gui_details_dialog.h"
#include "app/gui_options_dialog.h"
#include "app/options_rules.h"
#include "config/gui_settings_dialog.h"
#include "config/inifun.h"
#include "engine/format_rules.h"
#include "platform/path_rules.h"
#include "search/gui_frm_locate.h"

namespace hm {
namespace {

PassSetup WindowPassSetup(const std::string& programFolder, std::function<std::string()> now,
                          EraseObserver* previewObserver = nullptr) {
    PassSetup setup;
    setup.programFolder = programFolder;
    setup.now = std::move(now);
    if (previewObserver != nullptr) {
        setup.mode = EraseMode::Preview;
        setup.observer = previewObserver;
    }
    return setup;
}

LocalTime SystemLocalTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wDayOfWeek + 1, now.wHour, now.wMinute};
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

Application::Application(std::string programFolder, std::string commandLine, AppServices services)
    : programFolder_(std::move(programFolder)),
      services_(std::move(services)),
      window_(*this),
      registry_(window_),
      run_(window_, values_, WindowPassSetup(programFolder_, services_.now)),
      analysisRecorder_(window_),
      previewRun_(analysisRecorder_, values_,
                  WindowPassSetup(programFolder_, services_.now, &analysisRecorder_)),
      notifications_(
          [this](const std::string& text) { window_.ShowMessage(text, kAppTitle, MB_OK); },
          GetModuleHandleW(nullptr), services_.playSound),
      sessionEnd_({[this] { return CleansAtSessionEnd(SettingsFile()); },
                   [this] { return PassRunning(); }, [this] { CleanNow(true); }, {}, {}}) {
    values_.StartupCommand = std::move(commandLine);
    if (services_.messageBox) {
        window_.SetMessageBox(services_.messageBox);
    }
}

Application::~Application() {
    bossKey_.Disable();
    tray_.Remove();
    if (trayMenu_ != nullptr) {
        DestroyMenu(trayMenu_);
    }
}

std::string Application::SettingsFile() const {
    return JoinPath(programFolder_, "hushsd.dat");
}

std::string Application::ProgramFile(const char* name) const {
    return JoinPath(programFolder_, name);
}

bool Application::Start(HINSTANCE instance) {
    instance_ = instance;
    bool loaded = false;
    splash_ = std::make_unique<SplashWindow>([&] { loaded = Load(instance); },
                                             [this] { ShowMainWindow(); });
    if (!splash_->ShowModeless(nullptr)) {
        // Without a splash the program still starts, at once.
        splash_.reset();
        if (!Load(instance)) {
            return false;
        }
        ShowMainWindow();
        return true;
    }
    return loaded;
}

bool Application::Load(HINSTANCE instance) {
    instance_ = instance;
    if (window_.hwnd() == nullptr && !window_.Create(instance)) {
        return false;
    }
    LoadMainWindow();
    return true;
}

// The main window's load: every step carries on after a failure.
void Application::LoadMainWindow() {
    const std::string settings = SettingsFile();
    CarryOn([&] { ComputeSharedValues(values_, registry_); });
    CarryOn([&] { window_.ShowHomePanel(); });
    values_.BackgroundRun = 0;
    CarryOn([&] {
        values_.DayFlags = DayFlagsFromCleanDays(ReadIniValue(settings, "Options", "CleanDays"));
    });
    CarryOn([&] { values_.CleanTime = ReadIniValue(settings, "Options", "CleanTime"); });
    CarryOn([&] {
        const std::string lastClean = LoadLastPassTotals(settings, values_);
        window_.SetHomeTotals(
            lastClean, TotalsLineText(values_.RegistryKeysTotal, values_.BytesReleasedTotal));
    });
    CarryOn([&] {
        tray_.Add(window_.hwnd(), MainWindow::kTrayMessage,
                  reinterpret_cast<HICON>(GetClassLongPtrW(window_.hwnd(), GCLP_HICON)));
    });
    CarryOn([&] {
        if (ReadsAsChecked(ReadIniValue(settings, "Options", "bosskey"))) {
            bossKey_.Enable(window_.hwnd());
        }
    });
}

void Application::ShowMainWindow() {
    ShowWindow(window_.hwnd(), SW_SHOW);
    SetForegroundWindow(window_.hwnd());
    // Showing activates the window, which is where a start with "min" hides it again. (The
    // splash closes its own window once this returns.)
    OnActivated();
}

void Application::OnActivated() {
    if (values_.StartupCommand != "min") {
        return;
    }
    ShowWindow(window_.hwnd(), SW_HIDE);
    values_.StartupCommand.clear();
    if (ReadsAsChecked(ReadIniValue(SettingsFile(), "Options", "WindowsStartup"))) {
        CleanNow(true);
    }
}

// "Windows Shutdown": the session ends once a pass has run.
bool Application::OnSessionEnd(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return sessionEnd_.HandleMessage(window_.hwnd(), message, wParam, lParam, result);
}

void Application::CleanNow(bool background) {
    if (PassRunning()) {
        // The pass lets window messages run; a tray, schedule or start-up request that arrives
        // meanwhile is dropped rather than nested or queued behind it.
        return;
    }
    if (background) {
        values_.BackgroundRun = 1;
    }
    analysis_.clear();
    const PassResult result = run_.CleanNow();
    FinishPass(result);
}

void Application::Analyze() {
    if (PassRunning()) {
        return;
    }
    analysis_.clear();
    const PassResult result = previewRun_.CleanNow();
    // The preview counted into the shared pass totals; put back the last real pass's.
    CarryOn([&] { LoadLastPassTotals(SettingsFile(), values_); });
    if (result.start != PassStart::Ran) {
        return;
    }
    analysis_ = analysisRecorder_.items();
    CarryOn([&] {
        std::vector<ListRow> rows;
        AnalysisCounts total;
        for (const AnalyzedItem& item : analysis_) {
            const AnalysisCounts counts = CountTraces(item.traces);
            total += counts;
            rows.push_back({item.label, AnalysisListText(counts)});
        }
        window_.ShowAnalysis(kAnalysisHeader, rows, {kAnalysisComplete, AnalysisListText(total)},
                             kAnalysisCaption);
    });
}

void Application::ShowDetails() {
    const int row = window_.SelectedAnalysisRow();
    if (row < 0 || static_cast<size_t>(row) >= analysis_.size()) {
        return;
    }
    DetailsDialog details(analysis_[static_cast<size_t>(row)]);
    details.ShowModal(window_.hwnd());
}

void Application::FinishPass(const PassResult& result) {
    CarryOn([&] { sessionEnd_.PassEnded(window_.hwnd()); });
    if (result.start != PassStart::Ran) {
        values_.BackgroundRun = 0;
        return;
    }
    if (result.exited) {
        Exit();
        return;
    }
    if (values_.BackgroundRun == 1) {
        CarryOn(
            [&] { QueuePopup(SummaryPopupText(kAppTitle, result.registryKeys, result.bytes)); });
        values_.BackgroundRun = 0;
    } else {
        CarryOn([&] {
            window_.ShowMessage(SummaryOf(result), "Task Complete", MB_OK | MB_ICONINFORMATION);
        });
    }
    CarryOn([&] {
        const std::string lastClean = LoadLastPassTotals(SettingsFile(), values_);
        window_.SetHomeTotals(
            lastClean, TotalsLineText(values_.RegistryKeysTotal, values_.BytesReleasedTotal));
    });
    ShowWindow(window_.hwnd(), SW_SHOW);
}

void Application::QueuePopup(const std::string& text) {
    notifications_.Queue("www", kAppTitle, text, true, true, nullptr,
                         ProgramFile("Sounds\\Message.wav"));
}

// Starts the scheduled pass once in its minute, in the background, and goes back to the tray.
void Application::ScheduleTick() {
    const LocalTime now = services_.clock ? services_.clock() : SystemLocalTime();
    if (ticker_.ShouldStart(values_.DayFlags, values_.CleanTime, now, PassRunning())) {
        CleanNow(true);
        ShowWindow(window_.hwnd(), SW_HIDE);
    }
}

void Application::OnTimer(UINT_PTR timer) {
    if (timer == MainWindow::kTimer1) {
        CarryOn([&] { ScheduleTick(); });
    } else if (timer == MainWindow::kTmrShowPopup) {
        CarryOn([&] { notifications_.Pump(); });
    }
}

HMENU Application::TrayMenu() const {
    return trayMenu_ != nullptr ? GetSubMenu(trayMenu_, 0) : nullptr;
}

void Application::OnTrayEvent(UINT mouseMessage) {
    if (mouseMessage == WM_LBUTTONUP) {
        RestoreWindow();
    } else if (mouseMessage == WM_RBUTTONUP) {
        // The menu closes on a click elsewhere only when its owner is the foreground window.
        SetForegroundWindow(window_.hwnd());
        if (trayMenu_ == nullptr) {
            trayMenu_ = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAYMENU));
        }
        const int command = window_.TrackMenu(TrayMenu());
        PostMessageW(window_.hwnd(), WM_NULL, 0, 0);
        if (command != 0) {
            OnCommand(command);
        }
    }
}

void Application::RestoreWindow() {
    ShowWindow(window_.hwnd(), SW_SHOW);
    ShowWindow(window_.hwnd(), SW_RESTORE);
}

void Application::OpenHelp() {
    // Quoted, so that a program folder with blanks in its path still opens.
    Launcher& launcher = services_.launcher != nullptr ? *services_.launcher : shellLauncher_;
    launcher.Start(Quoted(JoinPath(values_.WindowsFolder, "hh.exe")) + " " +
                   Quoted(ProgramFile("help.chm")));
}

void Application::StartCompanion(const char* fileName) {
    Launcher& launcher = services_.launcher != nullptr ? *services_.launcher : shellLauncher_;
    launcher.Start(Quoted(ProgramFile(fileName)));
}

void Application::ShowAbout() {
    Launcher& launcher = services_.launcher != nullptr ? *services_.launcher : shellLauncher_;
    AboutDialog about(
        [&] {
            launcher.Start(Quoted(JoinPath(values_.WindowsFolder, "notepad.exe")) + " " +
                           Quoted(ProgramFile("License.txt")));
        },
        [this] { ShowWindow(window_.hwnd(), SW_SHOW); });
    about.ShowModal(window_.hwnd());
}

void Application::ShowOptions() {
    Frmoption options(programFolder_, registry_, values_, [this](bool on) {
        if (on) {
            bossKey_.Enable(window_.hwnd());
        } else {
            bossKey_.Disable();
        }
    });
    options.ShowModal(window_.hwnd());
}

void Application::ShowCleanSettings() {
    frmsettings settings(programFolder_, registry_);
    settings.ShowModal(window_.hwnd());
}

void Application::ShowSearch() {
    LocateServices services;
    services.showAbout = [this](HWND) { ShowAbout(); };
    frmLocate locate(programFolder_, std::move(services));
    locate.ShowModal(window_.hwnd());
}

void Application::OnCommand(int id) {
    Launcher& launcher = services_.launcher != nullptr ? *services_.launcher : shellLauncher_;
    switch (id) {
        case IDC_IMAGE1:
            window_.ShowHomePanel();
            break;
        case IDC_IMAGE3:
            window_.ShowStatusPanel();
            break;
        case IDC_COMMAND1:
            CleanNow(false);
            break;
        case IDC_ANALYZE:
            Analyze();
            break;
        case IDM_ANALYZE2:
            RestoreWindow();
            window_.ShowStatusPanel();
            Analyze();
            break;
        case IDC_DETAILS:
            ShowDetails();
            break;
        case IDM_CLEANNOW1:
            window_.ShowStatusPanel();
            CleanNow(false);
            break;
        case IDM_CLEANNOW2:
            CleanNow(true);
            ShowWindow(window_.hwnd(), SW_HIDE);
            break;
        case IDC_IMAGE5:
        case IDM_CLEANOPTIONS:
        case IDM_OPTIONS1:
            ShowOptions();
            break;
        case IDC_IMAGE2:
        case IDM_CLEANSETTINGS:
        case IDM_SETTINGS1:
            ShowCleanSettings();
            break;
        case IDC_IMAGE4:
        case IDM_SEARCHANDERASE:
            ShowSearch();
            break;
        case IDC_IMAGE6:
        case IDM_TESSARO:
            StartCompanion("Tessaro.exe");
            break;
        case IDC_IMAGE9:
        case IDM_CLEANREGISTRY:
            StartCompanion("Mobrin.exe");
            break;
        case IDC_IMAGE10:
        case IDM_EXIT:
        case IDM_EXIT1:
            Exit();
            break;
        case IDM_HELP1:
        case IDM_HELP2:
        case IDC_PICTURE2:
            OpenHelp();
            break;
        case IDM_OURWEBSITE:
        case IDM_WEB:
        case IDC_LABEL51:
            launcher.Open(kWebsite);
            break;
        case IDM_FRIEND:
            launcher.Open("mailto:");
            break;
        case IDM_AFFILIATE:
            launcher.Open(kAffiliatePage);
            break;
        case IDM_ABOUT:
            ShowAbout();
            break;
        case IDM_RESTORE1:
            RestoreWindow();
            break;
        default:
            // "Cancel" has no action.
            break;
    }
}

void Application::Exit() {
    CarryOn([&] { splash_.reset(); });
    CarryOn([&] { bossKey_.Disable(); });
    CarryOn([&] { tray_.Remove(); });
    if (services_.endProcess) {
        services_.endProcess();
        return;
    }
    ExitProcess(0);
}

}  // namespace hm
