#include "engine/browsers.h"

namespace hm::browsers {
namespace {

constexpr ChromiumBrowser kChromiumBrowsers[] = {
    {"Chrome", "Google Chrome", Root::LocalAppData, "Google\\Chrome\\User Data", nullptr,
     "chrome.exe"},
    {"Edge", "Microsoft Edge", Root::LocalAppData, "Microsoft\\Edge\\User Data", nullptr,
     "msedge.exe"},
    {"Brave", "Brave", Root::LocalAppData, "BraveSoftware\\Brave-Browser\\User Data", nullptr,
     "brave.exe"},
    {"Vivaldi", "Vivaldi", Root::LocalAppData, "Vivaldi\\User Data", nullptr, "vivaldi.exe"},
    {"Chromium", "Chromium", Root::LocalAppData, "Chromium\\User Data", nullptr, "chrome.exe"},
    {"Opera", "Opera", Root::RoamingAppData, "Opera Software\\Opera Stable",
     "Opera Software\\Opera Stable", "opera.exe"},
    {"OperaGX", "Opera GX", Root::RoamingAppData, "Opera Software\\Opera GX Stable",
     "Opera Software\\Opera GX Stable", "opera.exe"},
};

constexpr FirefoxLocations kFirefox = {"Mozilla\\Firefox", "Mozilla\\Firefox", "firefox.exe"};

}  // namespace

std::span<const ChromiumBrowser> ChromiumBrowsers() {
    return kChromiumBrowsers;
}

const FirefoxLocations& Firefox() {
    return kFirefox;
}

}  // namespace hm::browsers
