// Times loading a large community rule file as the clean-items dialog does (read, parse, then
// detection and the safety plan of every rule), against reading the same file's bytes, in the
// same run. The file is generated in the work folder: 5,000 sections by default, every tenth
// one detected through a folder made for it there, the rest looked for in the registry and the
// profile folders and not found. Prints each time and the ratio; the target is under a second.
//   hm_bench_winapp2 <work folder> [sections]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/winapp2.h"
#include "engine/winapp2_machine.h"
#include "platform/files.h"
#include "platform/text.h"

namespace {

double Now() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A section in the shape real rule files have: a group, detection, a warning now and then,
// several file keys with variables and patterns, registry keys and exclusions.
std::string Section(const std::string& apps, int n) {
    const std::string id = std::to_string(n);
    const bool here = n % 10 == 0;
    std::string text = "[Bench App " + id + " *]\r\nLangSecRef=" + std::to_string(3021 + n % 5) +
                       "\r\nDetect=HKCU\\Software\\Hushmark Bench\\App" + id + "\r\n";
    text += here ? "DetectFile=" + apps + "\\App" + id + "\r\n"
                 : "DetectFile=%LocalAppData%\\Bench App " + id + "\r\n";
    if (n % 7 == 0) {
        text += "Warning=This also removes the saved sessions of App " + id + ".\r\n";
    }
    const std::string base = here ? apps + "\\App" + id : "%AppData%\\Bench App " + id;
    text += "FileKey1=" + base + "\\Cache|*.*|RECURSE\r\n";
    text += "FileKey2=" + base + "\\Logs|*.log;*.txt;crash*.dmp\r\n";
    text += "FileKey3=" + base + "\\Temp*|*.tmp|REMOVESELF\r\n";
    text += "RegKey1=HKCU\\Software\\Hushmark Bench\\App" + id + "\\Recent\r\n";
    text += "RegKey2=HKCU\\Software\\Hushmark Bench\\App" + id + "|LastFolder\r\n";
    text += "ExcludeKey1=FILE|" + base + "\\Cache\\|settings.db\r\n";
    text += "ExcludeKey2=PATH|" + base + "\\Cache\\Keep\\\r\n\r\n";
    return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::printf("usage: hm_bench_winapp2 <work folder> [sections]\n");
        return 2;
    }
    const std::string work = hm::Narrow(argv[1]);
    const int sections = argc > 2 ? _wtoi(argv[2]) : 5000;
    const std::string apps = work + "\\apps";
    CreateDirectoryW(hm::Widen(work).c_str(), nullptr);
    CreateDirectoryW(hm::Widen(apps).c_str(), nullptr);
    std::string rules = "; generated for the benchmark\r\n";
    for (int n = 0; n < sections; ++n) {
        rules += Section(apps, n);
        if (n % 10 == 0) {
            const std::wstring app = hm::Widen(apps + "\\App" + std::to_string(n));
            CreateDirectoryW(app.c_str(), nullptr);
            CreateDirectoryW((app + L"\\Cache").c_str(), nullptr);
            CreateDirectoryW((app + L"\\Logs").c_str(), nullptr);
        }
    }
    const std::string file = work + "\\winapp2.ini";
    if (hm::files::WriteWholeFile(file, rules) != 0) {
        std::printf("the rule file cannot be written\n");
        return 1;
    }
    std::printf("%d sections, %zu bytes\n", sections, rules.size());
    constexpr int kRounds = 3;
    std::vector<double> loads;
    for (int round = 0; round < kRounds; ++round) {
        double start = Now();
        std::string bytes;
        const std::uint32_t read = hm::files::ReadWholeFile(file, 64ull << 20, bytes);
        const double reference = Now() - start;
        start = Now();
        const hm::Winapp2Load load = hm::LoadWinapp2(file);
        const double parsed = Now() - start;
        hm::Winapp2Machine machine;
        machine.Protect(work);
        const std::vector<hm::Winapp2Group> groups = hm::ListWinapp2(load.rules, machine);
        const double seconds = Now() - start;
        std::size_t listed = 0;
        std::size_t refused = 0;
        for (const hm::Winapp2Group& group : groups) {
            listed += group.entries.size();
            for (const hm::Winapp2Entry& entry : group.entries) {
                refused += entry.refusal.empty() ? 0 : 1;
            }
        }
        if (read != 0 || load.rules.rules.size() != static_cast<std::size_t>(sections)) {
            std::printf("the rule file was not read whole\n");
            return 1;
        }
        loads.push_back(seconds);
        std::printf(
            "read the bytes %.4f s; read and parse %.3f s, then detect %.3f s: %.3f s (%zu rules, "
            "%zu apply here, %zu refused, %zu groups); ratio %.0f\n",
            reference, parsed, seconds - parsed, seconds, load.rules.rules.size(), listed, refused,
            groups.size(), seconds / std::max(reference, 1e-6));
    }
    std::sort(loads.begin(), loads.end());
    const double median = loads[loads.size() / 2];
    std::printf("median load %.3f s: %s the one-second target\n", median,
                median < 1.0 ? "within" : "OVER");
    return median < 1.0 ? 0 : 1;
}
