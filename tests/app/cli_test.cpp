// The command line, run as its own process against the sandbox user's real profile folders.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "config/inifun.h"
#include "engine/catalogue.h"
#include "platform/path_rules.h"
#include "platform/text.h"
#include "support/process.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using test::ProcessResult;
using test::SplitLines;

std::string KnownFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, 0, path);
    return Narrow(path);
}

class CliTest : public ::testing::Test {
protected:
    CliTest() : roaming(KnownFolder(CSIDL_APPDATA)), local(KnownFolder(CSIDL_LOCAL_APPDATA)) {
        cli = program / "hushmark-cli.exe";
        const std::string built =
            std::string(ParentOf(test::ExecutableFolder())) + "\\hushmark-cli.exe";
        EXPECT_TRUE(test::CopyFileTo(built, cli)) << built;
    }
    ~CliTest() override {
        for (const std::string& base : {roaming, local}) {
            test::RemoveTree(base + "\\Mozilla");
            test::RemoveTree(base + "\\Opera");
            test::RemoveTree(base + "\\Netscape");
        }
    }

    ProcessResult Run(const std::vector<std::string>& args) { return test::RunProgram(cli, args); }
    void Tick(const std::string& section, const std::string& key, const std::string& value = "1") {
        WriteIniValue(program / "hushsd.dat", section, key, value);
    }
    void SeedBrowsers() {
        const std::string firefox = roaming + "\\Mozilla\\Firefox\\Profiles";
        test::WriteFileOfSize(firefox + "\\a1.default\\places.sqlite", 4000);
        test::WriteFileOfSize(firefox + "\\a1.default\\cookies.sqlite", 300);
        test::WriteFileOfSize(firefox + "\\b2.work\\places.sqlite", 5000);
        test::WriteFileOfSize(firefox + "\\b2.work\\cookies.sqlite", 200);
        test::WriteFileOfSize(firefox + "\\b2.work\\prefs.js", 50);
        test::WriteFileOfSize(local + "\\Mozilla\\Firefox\\Profiles\\a1.default\\cache2\\e", 70);
        test::WriteFileOfSize(local + "\\Mozilla\\Firefox\\Profiles\\a1.default\\Cache\\e", 80);
        test::WriteFileOfSize(roaming + "\\Opera\\Opera\\typed_history.xml", 100);
        test::WriteFileOfSize(roaming + "\\Opera\\Opera\\bookmarks.adr", 100);
        Tick("FIREFOX", "History");
        Tick("FIREFOX", "Cookies");
        Tick("FIREFOX", "Cache");
        Tick("Opera", "Address");
    }

    test::TempFolder program;
    std::string cli;
    std::string roaming;
    std::string local;
};

TEST_F(CliTest, UnknownVerbsGetTheUsageAndExitCodeTwo) {
    for (const auto& args : std::vector<std::vector<std::string>>{{}, {"frob"}, {"list", "x"}}) {
        const ProcessResult result = Run(args);
        EXPECT_EQ(result.exitCode, 2u);
        EXPECT_NE(result.err.find("usage: hushmark-cli"), std::string::npos);
        EXPECT_EQ(result.out, "");
    }
}

TEST_F(CliTest, ListShowsEveryItemInPassOrder) {
    Tick("firefox", "cookies");
    Tick("OFFICE", "word");
    const ProcessResult result = Run({"list"});
    ASSERT_EQ(result.exitCode, 0u);
    const auto lines = SplitLines(result.out);
    ASSERT_EQ(lines.size(), Catalogue().size());
    for (size_t i = 0; i < lines.size(); ++i) {
        const CatalogueItem& item = Catalogue()[i];
        if (item.kind == ItemKind::Setting) {
            EXPECT_EQ(lines[i].rfind(std::string(item.section) + "\t" + std::string(item.key) +
                                         "\t" + std::string(item.label) + "\t",
                                     0),
                      0u)
                << lines[i];
        }
    }
    auto lineOf = [&](const std::string& prefix) {
        auto found = std::find_if(lines.begin(), lines.end(),
                                  [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
        return found == lines.end() ? std::string() : *found;
    };
    EXPECT_EQ(lineOf("FIREFOX\tCookies\t"), "FIREFOX\tCookies\tFirefox Cookies\tticked\tbuilt");
    EXPECT_EQ(lineOf("FIREFOX\tAddress\t"),
              "FIREFOX\tAddress\tFirefox Address Bar History\tnot ticked\tbuilt");
    EXPECT_EQ(lineOf("OFFICE\tword\t"), "OFFICE\tword\tMicrosoft Word\tticked\tbuilt");
    EXPECT_NE(lineOf("Maxthon\tkeywords\t").find("\tnot ticked\tbuilt"), std::string::npos);
}

TEST_F(CliTest, CleanPrintsEachResultThenTheSummary) {
    SeedBrowsers();
    const ProcessResult result = Run({"clean"});
    ASSERT_EQ(result.exitCode, 0u) << result.err;
    const std::vector<std::string> expected = {
        "Firefox Cookies\tDone",
        "Firefox Cache\tDone",
        "Firefox History Files\tDone",
        "Opera Address Bar History\tDone",
        "Task complete Successfully!\t",
        "Task complete Successfully! Cleaned Registry Keys: 0 Released HD Space:0.05MB"};
    EXPECT_EQ(SplitLines(result.out), expected);

    const std::string firefox = roaming + "\\Mozilla\\Firefox\\Profiles";
    EXPECT_EQ(test::ListTree(firefox), (std::vector<std::string>{"a1.default\\", "b2.work\\",
                                                                 "b2.work\\prefs.js"}));
    EXPECT_EQ(test::ListTree(local + "\\Mozilla\\Firefox\\Profiles"),
              (std::vector<std::string>{"a1.default\\", "a1.default\\cache2\\",
                                        "a1.default\\cache2\\e"}));
    EXPECT_TRUE(test::FileExists(roaming + "\\Opera\\Opera\\bookmarks.adr"));
    EXPECT_FALSE(test::FileExists(roaming + "\\Opera\\Opera\\typed_history.xml"));
    // 10000 per action (four with the cache item's two) + 100 bytes of the typed history.
    EXPECT_EQ(ReadIniValue(program / "hushsd.dat", "Options", "filesize"), "50100");
    EXPECT_EQ(ReadIniValue(program / "hushsd.dat", "Options", "regnum"), "0");
    EXPECT_FALSE(ReadIniValue(program / "hushsd.dat", "Options", "lastclean").empty());
}

TEST_F(CliTest, PreviewListsWhatWouldGoAndChangesNothing) {
    SeedBrowsers();
    const std::string settingsBefore = test::ReadFileText(program / "hushsd.dat");
    const auto roamingBefore = test::ListTree(roaming);
    const auto localBefore = test::ListTree(local);
    const std::string registryBefore = test::RegistrySnapshot("Software");

    const ProcessResult result = Run({"preview"});
    ASSERT_EQ(result.exitCode, 0u) << result.err;

    EXPECT_EQ(test::ReadFileText(program / "hushsd.dat"), settingsBefore);
    EXPECT_EQ(test::ListTree(roaming), roamingBefore);
    EXPECT_EQ(test::ListTree(local), localBefore);
    EXPECT_EQ(test::RegistrySnapshot("Software"), registryBefore);

    const auto lines = SplitLines(result.out);
    auto has = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("Firefox Cookies\tDone"));
    EXPECT_TRUE(has("Task complete Successfully!\t"));
    const std::string firefox = roaming + "\\Mozilla\\Firefox\\Profiles";
    EXPECT_TRUE(has("file\t" + firefox + "\\a1.default\\cookies.sqlite\t300"));
    EXPECT_TRUE(has("file\t" + firefox + "\\b2.work\\places.sqlite\t5000"));
    EXPECT_TRUE(has("folder\t" + local + "\\Mozilla\\Firefox\\Profiles\\a1.default\\Cache\t80"));
    EXPECT_TRUE(has("file\t" + roaming + "\\Opera\\Opera\\typed_history.xml\t100"));
    EXPECT_TRUE(has("bytes that would go\t" + std::to_string(4000 + 300 + 5000 + 200 + 80 + 100)));
    EXPECT_TRUE(has("bytes counted\t50100"));
    EXPECT_EQ(lines.back(),
              "Task complete Successfully! Cleaned Registry Keys: 0 Released HD Space:0.05MB");
}

// "Thumbs.db" starts delThumbs.bat beside the program, which runs the command line's thumbnail
// search: hidden thumbnail caches below the profile go, every other file keeps its attributes.
TEST_F(CliTest, TheThumbsItemRemovesHiddenThumbnailCachesOnly) {
    const std::string profile = std::string(ParentOf(roaming));
    const std::string pictures = profile + "\\hm-pictures";
    test::WriteFileOfSize(pictures + "\\Thumbs.db", 10);
    test::SetAttributes(pictures + "\\Thumbs.db", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    test::WriteFileOfSize(pictures + "\\deep\\thumbs.DB", 10);
    test::SetAttributes(pictures + "\\deep\\thumbs.DB", FILE_ATTRIBUTE_HIDDEN);
    test::WriteFileOfSize(pictures + "\\visible\\Thumbs.db", 10);
    test::WriteFileOfSize(pictures + "\\desktop.ini", 10);
    test::SetAttributes(pictures + "\\desktop.ini", FILE_ATTRIBUTE_HIDDEN);
    const std::string batch = std::string(ParentOf(test::ExecutableFolder())) + "\\delThumbs.bat";
    ASSERT_TRUE(test::CopyFileTo(batch, program / "delThumbs.bat")) << batch;
    Tick("WINDOWS", "thumbs");

    const ProcessResult result = Run({"clean"});
    EXPECT_EQ(result.exitCode, 0u) << result.err;
    EXPECT_EQ(SplitLines(result.out).at(0), "Thumbs.db\tDone");
    EXPECT_FALSE(test::FileExists(pictures + "\\Thumbs.db"));
    EXPECT_FALSE(test::FileExists(pictures + "\\deep\\thumbs.DB"));
    EXPECT_TRUE(test::FileExists(pictures + "\\visible\\Thumbs.db"));
    EXPECT_NE(test::AttributesOf(pictures + "\\desktop.ini") & FILE_ATTRIBUTE_HIDDEN, 0u);
    test::RemoveTree(pictures);
}

TEST_F(CliTest, ExitOptionEndsRightAfterTheItems) {
    SeedBrowsers();
    Tick("Options", "exit");
    const ProcessResult result = Run({"clean"});
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(SplitLines(result.out),
              (std::vector<std::string>{"Firefox Cookies\tDone", "Firefox Cache\tDone",
                                        "Firefox History Files\tDone",
                                        "Opera Address Bar History\tDone"}));
    EXPECT_EQ(ReadIniValue(program / "hushsd.dat", "Options", "lastclean"), "");
}

}  // namespace
}  // namespace hm
