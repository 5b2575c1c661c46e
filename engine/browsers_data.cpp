#include "engine/browsers.h"

namespace hm::browsers {
namespace {

constexpr ChromiumBrowser kChromiumBrowsers[] = {
    {"Chrome", "Google Chrome", Root::LocalAppData, "Google\\Chrome\\User Data", nullptr,
     "chrome.exe", "\\Google\\Chrome\\Application\\"},
    {"Edge", "Microsoft Edge", Root::LocalAppData, "Microsoft\\Edge\\User Data", nullptr,
     "msedge.exe", "\\Microsoft\\Edge\\Application\\"},
    {"Brave", "Brave", Root::LocalAppData, "BraveSoftware\\Brave-Browser\\User Data", nullptr,
     "brave.exe", "\\BraveSoftware\\Brave-Browser\\Application\\"},
    {"Vivaldi", "Vivaldi", Root::LocalAppData, "Vivaldi\\User Data", nullptr, "vivaldi.exe",
     "\\Vivaldi\\Application\\"},
    {"Chromium", "Chromium", Root::LocalAppData, "Chromium\\User Data", nullptr, "chrome.exe",
     "\\Chromium\\Application\\"},
    {"Opera", "Opera", Root::RoamingAppData, "Opera Software\\Opera Stable",
     "Opera Software\\Opera Stable", "opera.exe", "\\Opera\\"},
    {"OperaGX", "Opera GX", Root::RoamingAppData, "Opera Software\\Opera GX Stable",
     "Opera Software\\Opera GX Stable", "opera.exe", "\\Opera GX\\"},
};

constexpr FirefoxLocations kFirefox = {"Mozilla\\Firefox", "Mozilla\\Firefox", "firefox.exe",
                                       "\\Mozilla Firefox\\"};

}  // namespace

std::span<const ChromiumBrowser> ChromiumBrowsers() {
    return kChromiumBrowsers;
}

const FirefoxLocations& Firefox() {
    return kFirefox;
}

}  // namespace hm::browsers
