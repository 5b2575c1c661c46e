#include "engine/browser_running_rules.h"

#include <string>

#include "engine/browsers.h"
#include "platform/path_rules.h"

namespace hm::browsers {
namespace {

struct Program {
    std::string_view key;
    std::string_view name;
    std::string_view executable;
    std::string_view installMarker;
};

std::vector<Program> Programs() {
    std::vector<Program> programs = {
        {kFirefoxKey, "Firefox", Firefox().executable, Firefox().installMarker}};
    for (const ChromiumBrowser& browser : ChromiumBrowsers()) {
        programs.push_back({browser.key, browser.name, browser.executable, browser.installMarker});
    }
    return programs;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return AsciiLower(a) == AsciiLower(b);
}

bool Holds(const std::string& lowerPath, std::string_view marker) {
    return lowerPath.find(AsciiLower(marker)) != std::string::npos;
}

// Either name will do: the snapshot's and the path's can differ in case, and a process whose path
// is unknown has only the first.
bool Runs(const ProcessImage& process, std::string_view executable) {
    return SameIgnoringCase(process.fileName, executable) ||
           (!process.path.empty() && SameIgnoringCase(FileNameOf(process.path), executable));
}

}  // namespace

std::string_view BrowserName(std::string_view browserKey) {
    for (const Program& program : Programs()) {
        if (SameIgnoringCase(program.key, browserKey)) {
            return program.name;
        }
    }
    return {};
}

bool IsBrowserRunningAmong(std::string_view browserKey,
                           const std::vector<ProcessImage>& processes) {
    const std::vector<Program> programs = Programs();
    const Program* browser = nullptr;
    for (const Program& program : programs) {
        if (SameIgnoringCase(program.key, browserKey)) {
            browser = &program;
            break;
        }
    }
    if (browser == nullptr) {
        return false;
    }
    for (const ProcessImage& process : processes) {
        if (!Runs(process, browser->executable)) {
            continue;
        }
        if (process.path.empty()) {
            return true;
        }
        const std::string lowerPath = AsciiLower(process.path);
        if (Holds(lowerPath, browser->installMarker)) {
            return true;
        }
        // Installed where a browser sharing the program's name lives: that one runs, not this.
        bool anotherBrowsersFolder = false;
        for (const Program& other : programs) {
            anotherBrowsersFolder =
                anotherBrowsersFolder || (SameIgnoringCase(other.executable, browser->executable) &&
                                          Holds(lowerPath, other.installMarker));
        }
        if (!anotherBrowsersFolder) {
            return true;
        }
    }
    return false;
}

}  // namespace hm::browsers
