// The file shredder's window (Tessaro.exe): the user adds files and folders (dropped from
// Explorer, or through "Add Files..." and "Add Folder..."), sees them listed with their sizes,
// picks a method and shreds them after one confirmation that names how many files and bytes go.
// The run shows its progress, can be stopped, and ends with a report.
//
// The window runs the shredding itself on the one thread of the program, letting pending
// messages run after every chunk written, so that "Stop" and the progress are served.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/gui_dialog.h"
#include "platform/shred_guard.h"
#include "platform/shred_job.h"
#include "shredder/gui_shred_report.h"

namespace hm {

// The side effects the tests control.
struct ShredderServices {
    // Same arguments and result as MessageBoxW, which is used when empty.
    std::function<int(HWND, const std::wstring& text, const std::wstring& title, UINT type)>
        messageBox;
    // Shows the report at the end of a run; the modal report dialog when empty.
    std::function<void(HWND owner, const ShredReport& report)> showReport;
    // Starts a program (the help viewer); CreateProcess when empty.
    std::function<void(const std::string& commandLine)> startProgram;
    // The refusals; those of this process (Guard::ForThisProcess) when empty.
    std::function<shred::Guard()> guard;
    // Ends the message loop when the window closes (the program's own window).
    bool quitOnClose = false;
};

class ShredderWindow : public Dialog {
public:
    static constexpr int kOnePass = 0;  // the method list's entries
    static constexpr int kThreePasses = 1;

    explicit ShredderWindow(ShredderServices services = {});
    ~ShredderWindow() override;

    // Adds files and folders (UTF-8 paths, as dropped or picked). Refused paths, and paths that
    // do not exist, are not added; one message names them with the reason.
    void AddPaths(const std::vector<std::string>& paths);
    // The listed paths, in list order.
    std::vector<std::string> ListedPaths() const;
    bool Running() const { return running_; }

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code) override;
    void OnCancel() override;
    LRESULT OnNotify(const NMHDR& header) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDestroyed() override;

private:
    struct Entry {
        std::string path;  // as people read it
        std::wstring longPath;
        shred::ItemKind kind = shred::ItemKind::File;
        std::uint64_t files = 0;
        std::uint64_t bytes = 0;
    };

    void Shred();
    void AddFiles();
    void AddFolder();
    void RemoveSelected();
    void ShowHelp();
    void RefreshList();
    void SetRunning(bool running);
    bool ShowProgress(std::uint64_t done, std::uint64_t total);
    int Ask(const std::string& text, UINT type);
    int Passes() const;
    shred::Guard MakeGuard() const;

    ShredderServices services_;
    std::vector<Entry> entries_;
    bool running_ = false;
    bool stopAsked_ = false;
    bool closeAsked_ = false;
    std::uint64_t filesDone_ = 0;
    std::uint64_t filesTotal_ = 0;
    unsigned long long lastShown_ = 0;
};

}  // namespace hm
