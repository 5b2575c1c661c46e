#include "engine/browser_running.h"

#include "engine/browser_running_rules.h"
#include "platform/processes.h"

namespace hm::browsers {

bool IsBrowserRunning(std::string_view browserKey) {
    const std::vector<ProcessImage> processes = RunningProcesses();
    // A system always runs other programs: an empty list means it could not be read, and then
    // the browser may well be running.
    if (processes.empty()) {
        return true;
    }
    return IsBrowserRunningAmong(browserKey, processes);
}

}  // namespace hm::browsers
