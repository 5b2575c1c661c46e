// Whether one of today's browsers is running now, for the pass to leave its files alone.
#pragma once

#include <string_view>

namespace hm::browsers {

// Lists the running processes and applies IsBrowserRunningAmong (engine/browser_running_rules.h)
// to them: true when the browser of the key ("Firefox", "Chrome", "OperaGX", ...) runs, and
// when the system would not list the processes (in doubt, the browser's files stay alone).
bool IsBrowserRunning(std::string_view browserKey);

}  // namespace hm::browsers
