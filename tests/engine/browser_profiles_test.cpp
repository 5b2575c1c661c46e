// Profiles found on a real disk laid out as the browsers lay it out on Windows.
#include "engine/browser_profiles.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "support/sandbox.h"

namespace hm::browsers {
namespace {

using test::TempFolder;

std::vector<std::string> Describe(const std::vector<FoundProfile>& profiles) {
    std::vector<std::string> lines;
    for (const FoundProfile& profile : profiles) {
        lines.push_back(profile.name + " | " + profile.folder + " | " + profile.cacheFolder);
    }
    return lines;
}

const ChromiumBrowser& Browser(const std::string& key) {
    for (const ChromiumBrowser& browser : ChromiumBrowsers()) {
        if (key == browser.key) {
            return browser;
        }
    }
    throw std::runtime_error("no browser " + key);
}

class BrowserProfilesTest : public ::testing::Test {
protected:
    std::string roaming() const { return home / "Roaming"; }
    std::string local() const { return home / "Local"; }
    void MakeFile(const std::string& path, const std::string& text = "{}") {
        test::MakeFolders(path.substr(0, path.rfind('\\')));
        test::WriteFileText(path, text);
    }

    TempFolder home;
    TempFolder elsewhere;
};

TEST_F(BrowserProfilesTest, FirefoxProfilesThatExistAndAreSafe) {
    const std::string firefox = roaming() + "\\Mozilla\\Firefox";
    MakeFile(firefox + "\\Profiles\\k2x9.default-release\\prefs.js");
    MakeFile(elsewhere / "Portable\\prefs.js");
    MakeFile(firefox + "\\profiles.ini",
             "[Install308046B0AF4A39CB]\r\nDefault=Profiles/k2x9.default-release\r\n"
             "[Profile0]\r\nName=default-release\r\nIsRelative=1\r\n"
             "Path=Profiles/k2x9.default-release\r\n"
             "[Profile1]\r\nName=gone\r\nIsRelative=1\r\nPath=Profiles/gone.default\r\n"
             "[Profile2]\r\nName=portable\r\nIsRelative=0\r\nPath=" +
                 elsewhere / "Portable" +
                 "\r\n"
                 "[Profile3]\r\nName=share\r\nIsRelative=0\r\nPath=\\\\server\\share\\p\r\n"
                 "[Profile4]\r\nName=up\r\nIsRelative=1\r\nPath=../../Local\r\n"
                 // Below a link to another tree (the sandbox's link fixture).
                 "[Profile5]\r\nName=linked\r\nIsRelative=0\r\n"
                 "Path=C:\\hm-link-fixture\\tree\\linkdir\\inner\r\n");
    EXPECT_EQ(Describe(FindFirefoxProfiles(roaming(), local())),
              (std::vector<std::string>{
                  "default-release | " + firefox + "\\Profiles\\k2x9.default-release | " + local() +
                      "\\Mozilla\\Firefox\\Profiles\\k2x9.default-release",
                  "portable | " + elsewhere / "Portable" + " | " + elsewhere / "Portable",
              }));
    // No profiles.ini, or no folder to look in: nothing, and no guess.
    EXPECT_TRUE(FindFirefoxProfiles(local(), local()).empty());
    EXPECT_TRUE(FindFirefoxProfiles("", local()).empty());
}

TEST_F(BrowserProfilesTest, ChromiumProfilesAndOperasOwnLayout) {
    const std::string userData = local() + "\\Google\\Chrome\\User Data";
    MakeFile(userData + "\\Default\\Preferences");
    MakeFile(userData + "\\Profile 1\\Preferences");
    MakeFile(userData + "\\Crashpad\\settings.dat");
    // A folder named like a profile whose Preferences is a folder is no profile.
    test::MakeFolders(userData + "\\Profile 2\\Preferences");
    MakeFile(userData + "\\Local State",
             R"({"profile": {"info_cache": {"Profile 1": {"name": "Work"}}}})");
    EXPECT_EQ(Describe(FindChromiumProfiles(Browser("Chrome"), roaming(), local())),
              (std::vector<std::string>{
                  "Default | " + userData + "\\Default | " + userData + "\\Default",
                  "Work | " + userData + "\\Profile 1 | " + userData + "\\Profile 1",
              }));

    const std::string opera = roaming() + "\\Opera Software\\Opera Stable";
    MakeFile(opera + "\\Preferences");
    MakeFile(opera + "\\Local State");
    // Side profiles: each folder below "_side_profiles" holding its own Preferences.
    MakeFile(opera + "\\_side_profiles\\f00d\\Preferences");
    MakeFile(opera + "\\_side_profiles\\stray\\Cache\\x");
    EXPECT_EQ(Describe(FindChromiumProfiles(Browser("Opera"), roaming(), local())),
              (std::vector<std::string>{
                  "Opera | " + opera + " | " + local() + "\\Opera Software\\Opera Stable",
                  "Opera (f00d) | " + opera + "\\_side_profiles\\f00d | " + local() +
                      "\\Opera Software\\Opera Stable\\_side_profiles\\f00d"}));
    // Browsers that are not installed.
    EXPECT_TRUE(FindChromiumProfiles(Browser("Edge"), roaming(), local()).empty());
    EXPECT_TRUE(FindChromiumProfiles(Browser("OperaGX"), roaming(), local()).empty());
}

}  // namespace
}  // namespace hm::browsers
