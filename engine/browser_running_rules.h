// Whether one of today's browsers is running, told from the running processes' programs, with no
// system call: the caller lists the processes (RunningProcesses), these rules decide. A running
// browser holds its databases locked and may corrupt them if they change under it, so its rows
// wait for another pass.
#pragma once

#include <string_view>
#include <vector>

#include "platform/processes.h"

namespace hm::browsers {

// The key of Firefox; the Chromium family's keys are in ChromiumBrowsers().
inline constexpr std::string_view kFirefoxKey = "Firefox";

// The name to show for a browser key ("Firefox", "Google Chrome", "Opera GX"); empty for a key
// that names no browser. Keys are matched ignoring case.
std::string_view BrowserName(std::string_view browserKey);

// A process runs the browser when its program's file name is the browser's (ignoring case) and,
// among the browsers whose programs share that name (chrome.exe: Chrome and Chromium; opera.exe:
// Opera and Opera GX), its path holds the browser's install marker. A process whose path is
// unknown, or holds the marker of none of them, counts for all of them: better to leave a
// browser's files for later than to change them under it. False for a key that names no browser.
bool IsBrowserRunningAmong(std::string_view browserKey, const std::vector<ProcessImage>& processes);

}  // namespace hm::browsers
