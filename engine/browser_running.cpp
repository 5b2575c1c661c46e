#include "engine/browser_running.h"

#include "engine/browser_running_rules.h"
#include "platform/processes.h"

namespace hm::browsers {

bool IsBrowserRunning(std::string_view browserKey) {
    return IsBrowserRunningAmong(browserKey, RunningProcesses());
}

}  // namespace hm::browsers
