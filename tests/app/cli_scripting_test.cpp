// The command line as scripts and fleet tools use it: a settings file from another folder, JSON
// lines read by a real JSON parser, and the exit codes they act on.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <map>
#include <nlohmann/json.hpp>

#include "config/inifun.h"
#include "hm_version.h"
#include "platform/pass_lock.h"
#include "platform/path_rules.h"
#include "platform/text.h"
#include "support/process.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using nlohmann::json;
using test::ProcessResult;

std::string KnownFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, 0, path);
    return Narrow(path);
}

// Every line of the output as JSON; a line that is no JSON fails the test.
std::vector<json> JsonLines(const std::string& out) {
    std::vector<json> objects;
    for (const std::string& line : test::SplitLines(out)) {
        try {
            objects.push_back(json::parse(line));
        } catch (const json::exception& error) {
            ADD_FAILURE() << error.what() << ": " << line;
        }
    }
    return objects;
}

// The rows by "section\key", each with its removed entries as path -> bytes.
std::map<std::string, std::map<std::string, std::uint64_t>> RemovedByRow(
    const std::vector<json>& lines) {
    std::map<std::string, std::map<std::string, std::uint64_t>> rows;
    for (const json& line : lines) {
        if (line.at("type") == "row") {
            auto& removed = rows[line.at("section").get<std::string>() + "\\" +
                                 line.at("key").get<std::string>()];
            for (const json& entry : line.at("removed")) {
                removed[entry.at("path").get<std::string>()] = entry.value("bytes", 0ull);
            }
        }
    }
    return rows;
}

class CliScriptingTest : public ::testing::Test {
protected:
    CliScriptingTest()
        : roaming(KnownFolder(CSIDL_APPDATA)), cookies(KnownFolder(CSIDL_COOKIES)) {
        cli = program / "hushmark-cli.exe";
        const std::string built =
            std::string(ParentOf(test::ExecutableFolder())) + "\\hushmark-cli.exe";
        EXPECT_TRUE(test::CopyFileTo(built, cli)) << built;
        preset = presets / "fleet.ini";
        test::WriteFileText(preset, "[EXPLORER]\r\ncookies=1\r\n[FIREFOX]\r\nCookies=1\r\n");
    }
    ~CliScriptingTest() override {
        test::RemoveTree(roaming + "\\Mozilla");
        for (const char* name : {"\\user@bank.txt", "\\user@shop.txt"}) {
            DeleteFileW(Widen(cookies + name).c_str());
        }
    }

    ProcessResult Run(const std::vector<std::string>& args) { return test::RunProgram(cli, args); }

    test::TempFolder program;
    test::TempFolder presets;
    std::string cli;
    std::string preset;
    std::string roaming;
    std::string cookies;
};

// A preset in another folder ticks the items and brings its own cookie keep list and custom
// items; preview and clean report the same entries, a non-ASCII path included; hushsd.dat beside
// the program stays as it was.
TEST_F(CliScriptingTest, APresetFromAnotherFolderDrivesPreviewAndCleanAlike) {
    const std::string firefox =
        roaming + "\\Mozilla\\Firefox\\Profiles\\pr\xC3\xB8" "fil-\xE6\x97\xA5.default";
    test::WriteFileOfSize(firefox + "\\cookies.sqlite", 300);
    test::WriteFileOfSize(cookies + "\\user@bank.txt", 100);
    test::WriteFileOfSize(cookies + "\\user@shop.txt", 200);
    test::WriteFileText(presets / "keepcook.dat", cookies + "\\user@bank.txt\r\n");
    test::WriteFileOfSize(presets / "mine.txt", 50);
    test::WriteFileText(presets / "cusd.dat", presets / "mine.txt" + "\tFile\r\n");
    WriteIniValue(preset, "Custom", "Custom", "1");
    const std::string ownSettings = "[EXPLORER]\r\ncookies=0\r\n[FIREFOX]\r\nCookies=0\r\n";
    test::WriteFileText(program / "hushsd.dat", ownSettings);
    test::CurrentFolderGuard here(presets.path());

    const ProcessResult list = Run({"list", "--settings", "fleet.ini"});
    ASSERT_EQ(list.exitCode, 0u) << list.err;
    EXPECT_NE(list.out.find("FIREFOX\tCookies\tFirefox Cookies\tticked\t"), std::string::npos);

    const ProcessResult preview = Run({"--settings", "fleet.ini", "preview", "--json"});
    ASSERT_EQ(preview.exitCode, 0u) << preview.err;
    EXPECT_TRUE(test::FileExists(cookies + "\\user@shop.txt"));
    const ProcessResult clean = Run({"clean", "--json", "--settings=fleet.ini"});
    ASSERT_EQ(clean.exitCode, 0u) << clean.err;

    const std::vector<json> previewLines = JsonLines(preview.out);
    const std::vector<json> cleanLines = JsonLines(clean.out);
    ASSERT_FALSE(previewLines.empty());
    ASSERT_FALSE(cleanLines.empty());
    const auto rows = RemovedByRow(previewLines);
    EXPECT_EQ(rows, RemovedByRow(cleanLines));
    EXPECT_EQ(rows.at("FIREFOX\\Cookies"),
              (std::map<std::string, std::uint64_t>{{firefox + "\\cookies.sqlite", 300}}));
    const auto& explorer = rows.at("EXPLORER\\cookies");
    EXPECT_EQ(explorer.count(cookies + "\\user@shop.txt"), 1u);
    EXPECT_EQ(explorer.count(cookies + "\\user@bank.txt"), 0u);
    EXPECT_EQ(rows.at("Custom\\Custom"),
              (std::map<std::string, std::uint64_t>{{presets / "mine.txt", 50}}));

    for (const auto* lines : {&previewLines, &cleanLines}) {
        const json& totals = lines->back();
        EXPECT_EQ(totals.at("type"), "totals");
        EXPECT_EQ(totals.at("items"), lines->size() - 1);
        EXPECT_EQ(totals.at("exitCode"), 0);
        EXPECT_EQ(totals.at("itemsWithLeftovers"), 0);
        std::uint64_t bytes = 0;
        for (size_t i = 0; i + 1 < lines->size(); ++i) {
            EXPECT_EQ((*lines)[i].at("status"), "Done");
            bytes += (*lines)[i].at("bytes").get<std::uint64_t>();
        }
        EXPECT_EQ(totals.at("bytes"), bytes);
        EXPECT_GE(bytes, 550u);
    }
    EXPECT_EQ(previewLines.back().at("mode"), "preview");
    EXPECT_EQ(cleanLines.back().at("mode"), "clean");
    // Plain ASCII on the wire, whatever the console's code page.
    for (const char c : clean.out) {
        EXPECT_LT(static_cast<unsigned char>(c), 0x80u);
    }

    EXPECT_FALSE(test::FileExists(firefox + "\\cookies.sqlite"));
    EXPECT_FALSE(test::FileExists(cookies + "\\user@shop.txt"));
    EXPECT_TRUE(test::FileExists(cookies + "\\user@bank.txt"));
    EXPECT_FALSE(test::FileExists(presets / "mine.txt"));
    EXPECT_EQ(test::ReadFileText(program / "hushsd.dat"), ownSettings);
    EXPECT_FALSE(ReadIniValue(preset, "Options", "lastclean").empty());
}

TEST_F(CliScriptingTest, EachFailureHasItsOwnExitCode) {
    // 2: the words make no command.
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"list", "--json"}, {"--settings"}, {"clean", "--frob"}, {"clean", "preview"},
             {"thumbs", "--settings", preset}, {"--version", "list"}}) {
        const ProcessResult result = Run(args);
        EXPECT_EQ(result.exitCode, 2u) << args.front();
        EXPECT_NE(result.err.find("usage: hushmark-cli"), std::string::npos);
        EXPECT_EQ(result.out, "");
    }
    // 3: no settings file to read: missing, a folder, too large. Never the default instead.
    WriteIniValue(program / "hushsd.dat", "FIREFOX", "Cookies", "1");
    test::WriteFileOfSize(roaming + "\\Mozilla\\Firefox\\Profiles\\p\\cookies.sqlite", 10);
    test::WriteFileOfSize(presets / "huge.ini", 5 * 1024 * 1024, ';');
    for (const auto& file : {presets / "missing.ini", presets.path(), presets / "huge.ini"}) {
        for (const char* verb : {"clean", "list"}) {
            const ProcessResult result = Run({verb, "--settings", file});
            EXPECT_EQ(result.exitCode, 3u) << verb << " " << file;
            EXPECT_NE(result.err.find(file), std::string::npos) << result.err;
            EXPECT_EQ(result.out, "");
        }
    }
    EXPECT_TRUE(test::FileExists(roaming + "\\Mozilla\\Firefox\\Profiles\\p\\cookies.sqlite"));

    // 4: another pass holds the preset's folder.
    {
        PassLock running;
        ASSERT_TRUE(running.Acquire(presets.path(), 0));
        const ProcessResult busy = Run({"clean", "--json", "--settings", preset});
        EXPECT_EQ(busy.exitCode, 4u);
        EXPECT_NE(busy.err.find("another cleaning pass is running"), std::string::npos);
        EXPECT_EQ(busy.out, "");
    }

    // 1: a file held open stays, and the JSON says which and why.
    const std::string held = roaming + "\\Mozilla\\Firefox\\Profiles\\p\\cookies.sqlite";
    const HANDLE handle = CreateFileW(Widen(held).c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    const ProcessResult clean = Run({"clean", "--json", "--settings", preset});
    CloseHandle(handle);
    EXPECT_EQ(clean.exitCode, 1u);
    const std::vector<json> lines = JsonLines(clean.out);
    ASSERT_GE(lines.size(), 2u) << clean.out;
    const json* row = nullptr;
    for (const json& line : lines) {
        if (line.value("key", "") == "Cookies") {
            row = &line;
        }
    }
    ASSERT_NE(row, nullptr) << clean.out;
    EXPECT_EQ(row->at("status"), "Done, 1 in use");
    ASSERT_EQ(row->at("stayed").size(), 1u);
    EXPECT_EQ(row->at("stayed")[0].at("path"), held);
    EXPECT_EQ(row->at("stayed")[0].at("reason"), "inUse");
    EXPECT_EQ(lines.back().at("exitCode"), 1);
    EXPECT_EQ(lines.back().at("itemsWithLeftovers"), 1);
}

TEST_F(CliScriptingTest, HelpAndVersionGoToStandardOutput) {
    const ProcessResult help = Run({"help"});
    EXPECT_EQ(help.exitCode, 0u);
    EXPECT_EQ(help.out.rfind("usage: hushmark-cli", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("4 another pass"), std::string::npos);
    EXPECT_EQ(help.err, "");
    const ProcessResult version = Run({"--version"});
    EXPECT_EQ(version.exitCode, 0u);
    EXPECT_EQ(version.out, std::string("hushmark-cli ") + HM_VERSION_TEXT + "\n");
}

}  // namespace
}  // namespace hm
