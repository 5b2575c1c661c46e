#include "engine/browser_running_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/browsers.h"
#include "platform/path_rules.h"

namespace hm::browsers {
namespace {

const char* const kAllKeys[] = {"Firefox", "Chrome",   "Edge",  "Brave",
                                "Vivaldi", "Chromium", "Opera", "OperaGX"};

ProcessImage At(const std::string& path) {
    return {std::string(FileNameOf(path)), path};
}

TEST(BrowserRunning, TheProgramAndItsPathTellWhichBrowsersRun) {
    struct Case {
        const char* what;
        std::vector<ProcessImage> processes;
        std::vector<std::string> running;  // every other key must read as not running
    };
    const std::vector<Case> cases = {
        {"nothing of interest",
         {At("C:\\Windows\\explorer.exe"),
          {"svchost.exe", ""},
          At("C:\\Program Files\\Mozilla Firefox\\updater.exe"),
          At("C:\\Games\\firefox.exe.bak")},
         {}},
        {"Firefox, spelt in another case",
         {At("c:\\program files\\mozilla firefox\\FireFox.EXE")},
         {"Firefox"}},
        {"Firefox from anywhere: no other browser runs firefox.exe",
         {At("D:\\Portable\\FF\\firefox.exe")},
         {"Firefox"}},
        {"Chrome, installed for the machine and for the user",
         {At("C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe"),
          At("C:\\Users\\ann\\AppData\\Local\\Google\\Chrome\\Application\\chrome.exe")},
         {"Chrome"}},
        {"Chromium, its marker in another case",
         {At("C:\\Users\\ann\\AppData\\Local\\CHROMIUM\\application\\chrome.exe")},
         {"Chromium"}},
        {"chrome.exe elsewhere counts for both",
         {At("C:\\Tools\\chrome.exe")},
         {"Chrome", "Chromium"}},
        {"chrome.exe that may not be opened counts for both",
         {{"chrome.exe", ""}},
         {"Chrome", "Chromium"}},
        {"Opera GX is not Opera, though both run opera.exe",
         {At("C:\\Users\\ann\\AppData\\Local\\Programs\\Opera GX\\opera.exe")},
         {"OperaGX"}},
        {"Opera's versioned folder",
         {At("C:\\Users\\ann\\AppData\\Local\\Programs\\Opera\\112.0.5197.53\\opera.exe")},
         {"Opera"}},
        {"opera.exe elsewhere counts for both", {At("E:\\opera.exe")}, {"Opera", "OperaGX"}},
        {"Edge, Brave and Vivaldi by their own programs",
         {At("C:\\Program Files (x86)\\Microsoft\\Edge\\Application\\msedge.exe"),
          At("C:\\Program Files\\BraveSoftware\\Brave-Browser\\Application\\brave.exe"),
          {"vivaldi.exe", ""}},
         {"Edge", "Brave", "Vivaldi"}},
        {"the snapshot's name suffices when the path ends otherwise",
         {{"chrome.exe", "\\\\?\\unix\\opt\\chrome"}},
         {"Chrome", "Chromium"}},
    };
    for (const Case& c : cases) {
        for (const char* key : kAllKeys) {
            const bool expected =
                std::find(c.running.begin(), c.running.end(), key) != c.running.end();
            EXPECT_EQ(IsBrowserRunningAmong(key, c.processes), expected) << c.what << ": " << key;
        }
    }
}

TEST(BrowserRunning, KeysAndNames) {
    EXPECT_EQ(BrowserName("Firefox"), "Firefox");
    EXPECT_EQ(BrowserName("Chrome"), "Google Chrome");
    EXPECT_EQ(BrowserName("operagx"), "Opera GX");
    EXPECT_EQ(BrowserName("Safari"), "");
    EXPECT_FALSE(IsBrowserRunningAmong("Safari", {{"safari.exe", ""}}));
    EXPECT_FALSE(IsBrowserRunningAmong("", {{"chrome.exe", ""}}));
    // Every browser has a marker that is a whole folder name, so "\Opera\" cannot match
    // "\Opera GX\" nor a folder merely starting with a browser's name.
    for (const ChromiumBrowser& browser : ChromiumBrowsers()) {
        const std::string marker = browser.installMarker;
        EXPECT_TRUE(marker.size() > 2 && marker.front() == '\\' && marker.back() == '\\')
            << browser.key;
        EXPECT_FALSE(BrowserName(browser.key).empty());
    }
}

}  // namespace
}  // namespace hm::browsers
