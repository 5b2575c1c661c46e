// Shows one window of the file shredder on its own, for screenshots taken from outside: the
// window named on the command line is shown, then "ready" is written into the marker folder, and
// the program lets the window's messages run until the file "done" appears there (or a minute
// passes). Nothing is shredded: the sample files are only listed, and the report shows made-up
// results.
//   hm_shredder_screens.exe <marker folder> shredder|report
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/gui_message_loop.h"
#include "platform/files.h"
#include "platform/path_rules.h"
#include "platform/text.h"
#include "shredder/gui_shred_report.h"
#include "shredder/gui_shredder_window.h"

namespace hm {
namespace {

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

void WriteSample(const std::string& path, std::size_t bytes) {
    files::WriteWholeFile(path, std::string(bytes, 'x'));
}

int Show(const std::string& markers, const std::string& which) {
    const std::string samples = JoinPath(markers, "Private");
    CreateDirectoryW(Widen(samples).c_str(), nullptr);
    if (which == "shredder") {
        WriteSample(JoinPath(samples, "Tax return 2025.pdf"), 1248311);
        WriteSample(JoinPath(samples, "passwords-old.xlsx"), 48213);
        const std::string photos = JoinPath(samples, "Holiday photos");
        CreateDirectoryW(Widen(photos).c_str(), nullptr);
        for (int i = 1; i <= 12; ++i) {
            WriteSample(JoinPath(photos, "IMG_00" + std::to_string(40 + i) + ".jpg"),
                        180000 + 7919 * static_cast<std::size_t>(i));
        }
        ShredderWindow window;
        if (!window.ShowModeless(nullptr)) {
            return 1;
        }
        window.AddPaths({JoinPath(samples, "Tax return 2025.pdf"), photos,
                         JoinPath(samples, "passwords-old.xlsx")});
        PumpUntilDone(markers);
        return 0;
    }
    if (which == "report") {
        ShredReport report;
        report.summary =
            "Shredded 13 files (3,604,434 bytes) with one pass of random data. 2 items are kept, "
            "each listed with the reason.";
        using shred::ItemKind;
        report.results = {
            {samples + "\\Mail archive.pst", ItemKind::File, 52428800, 32, false},
            {samples, ItemKind::Folder, 0, 145, false},
            {samples + "\\Tax return 2025.pdf", ItemKind::File, 1248311, 0, true},
            {samples + "\\passwords-old.xlsx", ItemKind::File, 48213, 0, true},
            {samples + "\\Holiday photos\\IMG_0041.jpg", ItemKind::File, 187919, 0, true},
            {samples + "\\Holiday photos\\IMG_0042.jpg", ItemKind::File, 195838, 0, true},
            {samples + "\\Holiday photos", ItemKind::Folder, 0, 0, false}};
        ShredReportDialog dialog(report);
        if (!dialog.ShowModeless(nullptr)) {
            return 1;
        }
        PumpUntilDone(markers);
        return 0;
    }
    return 2;
}

}  // namespace
}  // namespace hm

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        return 2;
    }
    INITCOMMONCONTROLSEX controls = {
        sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    return hm::Show(hm::Narrow(argv[1]), hm::Narrow(argv[2]));
}
