// The application object: it owns the shared values, the cleaning pass, the main window, the
// splash, the tray icon, the boss key, the timers' work and the pop-up notifications. Windows
// show state and hand their commands here; after each pass it decides between the summary
// message box, the pop-up and ending the program.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/analysis_rules.h"
#include "app/gui_boss_key.h"
#include "app/gui_launcher.h"
#include "app/gui_main_window.h"
#include "app/gui_session_end.h"
#include "app/gui_notifications.h"
#include "app/schedule_rules.h"
#include "app/gui_splash_window.h"
#include "app/gui_tray_icon.h"
#include "engine/clean_run.h"
#include "engine/shared_values.h"
#include "platform/regfun.h"

namespace hm {

inline constexpr const char* kWebsite = "https://hushmark.example/";
inline constexpr const char* kAffiliatePage = "https://hushmark.example/affiliate";

// The side effects the tests control.
struct AppServices {
    Launcher* launcher = nullptr;      // the shell when null
    MessageBoxFunction messageBox;     // MessageBoxW when empty
    std::function<std::string()> now;  // the "lastclean" text; the system clock when empty
    std::function<void()> endProcess;  // ExitProcess when empty
    SoundPlayer playSound;             // PlaySoundW when empty
    std::function<LocalTime()> clock;  // the local time for the schedule; the system's when empty
};

class Application : public MainWindowHost {
public:
    Application(std::string programFolder, std::string commandLine, AppServices services = {});
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Shows the splash, which loads the main window and shows it two seconds later. False when
    // a window could not be made.
    bool Start(HINSTANCE instance);
    // The splash's work without the splash: loads the main window and leaves it hidden.
    bool Load(HINSTANCE instance);
    // What the splash does after two seconds.
    void ShowMainWindow();

    // One pass started from the main window (background false) or from the tray, the start-up
    // option or the schedule (background true). A request while a pass runs is ignored.
    void CleanNow(bool background);
    // The same pass as a preview: nothing changes, the settings file included. The result list
    // then shows per ticked item what the pass would remove, and "Details..." lists it. A request
    // while a pass (either kind) runs is ignored.
    void Analyze();
    // What the last analysis found, item by item.
    const std::vector<AnalyzedItem>& analysis() const { return analysis_; }
    // Unregisters the hot keys, removes the tray icon and ends the process.
    void Exit();

    MainWindow& window() { return window_; }
    SharedValues& values() { return values_; }
    BossKey& bossKey() { return bossKey_; }
    const TrayIcon& trayIcon() const { return tray_; }
    SplashWindow* splash() { return splash_.get(); }
    NotificationSystem& notifications() { return notifications_; }
    const std::string& programFolder() const { return programFolder_; }
    bool PassRunning() const { return run_.IsRunning() || previewRun_.IsRunning(); }
    // The tray menu as it pops up.
    HMENU TrayMenu() const;

    // MainWindowHost
    void OnCommand(int id) override;
    void OnTimer(UINT_PTR timer) override;
    void OnActivated() override;
    void OnTrayEvent(UINT mouseMessage) override;
    void OnHotKey(int, UINT, UINT) override {}
    bool OnSessionEnd(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void LoadMainWindow();
    void FinishPass(const PassResult& result);
    void QueuePopup(const std::string& text);
    void ScheduleTick();
    void RestoreWindow();
    void OpenHelp();
    void ShowAbout();
    void ShowDetails();
    void ShowCleanSettings();
    void ShowSearch();
    void ShowOptions();
    void StartCompanion(const char* fileName);
    std::string SettingsFile() const;
    std::string ProgramFile(const char* name) const;

    std::string programFolder_;
    AppServices services_;
    ShellLauncher shellLauncher_;
    SharedValues values_;
    MainWindow window_;
    Regfun registry_;
    CleanRun run_;
    AnalysisRecorder analysisRecorder_;
    CleanRun previewRun_;
    std::vector<AnalyzedItem> analysis_;
    TrayIcon tray_;
    BossKey bossKey_;
    NotificationSystem notifications_;
    ScheduleTicker ticker_;
    SessionEnd sessionEnd_;
    std::unique_ptr<SplashWindow> splash_;
    HMENU trayMenu_ = nullptr;
    HINSTANCE instance_ = nullptr;
};

}  // namespace hm
