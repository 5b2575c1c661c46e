// The command line against a hostile environment: damaged shell-folder values, several passes at
// once, an item held open by another program.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "config/inifun.h"
#include "platform/pass_lock.h"
#include "platform/path_rules.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "support/process.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using test::ProcessResult;

constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

std::string KnownFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, 0, path);
    return Narrow(path);
}

// Puts raw data into a value of the real "User Shell Folders" key and restores the old value.
class ShellFolderValue {
public:
    explicit ShellFolderValue(const std::string& name) : name_(Widen(name)) {
        RegKey key;
        EXPECT_EQ(key.Open(HKEY_CURRENT_USER, kShellFolders, KEY_QUERY_VALUE), ERROR_SUCCESS);
        DWORD size = sizeof(saved_);
        had_ = RegQueryValueExW(key.get(), name_.c_str(), nullptr, &type_,
                                reinterpret_cast<BYTE*>(saved_), &size) == ERROR_SUCCESS;
        savedBytes_ = size;
    }
    ~ShellFolderValue() {
        RegKey key;
        key.Open(HKEY_CURRENT_USER, kShellFolders, KEY_SET_VALUE);
        if (had_) {
            RegSetValueExW(key.get(), name_.c_str(), 0, type_, reinterpret_cast<BYTE*>(saved_),
                           savedBytes_);
        } else {
            RegDeleteValueW(key.get(), name_.c_str());
        }
    }
    ShellFolderValue(const ShellFolderValue&) = delete;
    ShellFolderValue& operator=(const ShellFolderValue&) = delete;

    void Set(DWORD type, const std::wstring& data) {
        RegKey key;
        ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kShellFolders, KEY_SET_VALUE), ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExW(key.get(), name_.c_str(), 0, type,
                                 reinterpret_cast<const BYTE*>(data.data()),
                                 static_cast<DWORD>(data.size() * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    std::wstring stored() const {
        return std::wstring(saved_, wcsnlen(saved_, savedBytes_ / sizeof(wchar_t)));
    }

private:
    std::wstring name_;
    DWORD type_ = REG_NONE;
    bool had_ = false;
    wchar_t saved_[1024] = {};
    DWORD savedBytes_ = 0;
};

class CliSafetyTest : public ::testing::Test {
protected:
    CliSafetyTest() : roaming(KnownFolder(CSIDL_APPDATA)) {
        cli = program / "hushmark-cli.exe";
        const std::string built =
            std::string(ParentOf(test::ExecutableFolder())) + "\\hushmark-cli.exe";
        EXPECT_TRUE(test::CopyFileTo(built, cli)) << built;
    }
    ~CliSafetyTest() override {
        test::RemoveTree(roaming + "\\Mozilla");
        test::RemoveTree(roaming + "\\Thunderbird");
        test::RemoveTree("C:\\hm-decoy");
        for (const char* file : {"C:\\places.sqlite", "C:\\cookies.sqlite"}) {
            DeleteFileW(Widen(file).c_str());
        }
    }

    ProcessResult Run(const std::vector<std::string>& args) { return test::RunProgram(cli, args); }
    std::string Settings() const { return program / "hushsd.dat"; }

    test::TempFolder program;
    std::string cli;
    std::string roaming;
};

// A shell-folder value with a NUL and more after it: the folder ends at the NUL, and nothing
// beyond the Firefox profiles is touched, whichever way the value is stored.
TEST_F(CliSafetyTest, ANulInsideAShellFolderValueNeverWidensTheDeletion) {
    const std::string firefox = roaming + "\\Mozilla\\Firefox\\Profiles\\p.default";
    const std::vector<std::string> decoys = {
        roaming + "\\Thunderbird\\Profiles\\t.default\\places.sqlite",
        roaming + "\\Thunderbird\\Profiles\\t.default\\cookies.sqlite",
        roaming + "\\places.sqlite",
        "C:\\places.sqlite",
        "C:\\hm-decoy\\sub\\cookies.sqlite",
        program / "places.sqlite",
    };
    ShellFolderValue appData("AppData");
    const std::wstring stored = appData.stored();
    ASSERT_FALSE(stored.empty());
    struct Case {
        DWORD type;
        std::wstring data;
        bool firefoxGoes;  // the value still names the real roaming folder
    };
    const std::vector<Case> cases = {
        {REG_EXPAND_SZ, stored + std::wstring(1, L'\0') + L"\\..\\..\\..", true},
        {REG_MULTI_SZ, stored + std::wstring(1, L'\0') + L"C:\\" + std::wstring(2, L'\0'), true},
        {REG_SZ, L"C:\\" + std::wstring(1, L'\0') + L"rest", false},
        {REG_MULTI_SZ, L"C:\\" + std::wstring(1, L'\0') + stored + std::wstring(2, L'\0'), false},
    };
    WriteIniValue(Settings(), "FIREFOX", "History", "1");
    WriteIniValue(Settings(), "FIREFOX", "Cookies", "1");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << ", " << c.data.size() << " chars");
        for (const std::string& file : decoys) {
            test::WriteFileOfSize(file, 10);
        }
        test::WriteFileOfSize(firefox + "\\places.sqlite", 10);
        test::WriteFileOfSize(firefox + "\\cookies.sqlite", 10);
        appData.Set(c.type, c.data);

        const ProcessResult result = Run({"clean"});
        EXPECT_EQ(result.exitCode, 0u) << result.err;
        for (const std::string& file : decoys) {
            EXPECT_TRUE(test::FileExists(file)) << file;
        }
        EXPECT_NE(test::FileExists(firefox + "\\places.sqlite"), c.firefoxGoes);
        EXPECT_NE(test::FileExists(firefox + "\\cookies.sqlite"), c.firefoxGoes);
    }
}

// Several passes started together on one program folder run one after the other: every tick and
// every other setting survives, byte for byte, beside the three values a pass writes.
TEST_F(CliSafetyTest, PassesStartedTogetherRunOneAtATimeAndKeepTheSettings) {
    std::string settings =
        "[FIREFOX]\r\nCookies=1\r\nHistory=1\r\nAddress=0\r\n"
        "[Options]\r\nCleanDays=0100100\r\nCleanTime=9:30\r\nexit=0\r\n";
    // Enough sections that rewriting the file takes a while, as it does for a well-used one.
    for (int i = 0; i < 1000; ++i) {
        settings += "[Section" + std::to_string(i) + "]\r\nkey=value " + std::to_string(i) + "\r\n";
    }
    const auto withoutTotals = [](const std::string& text) {
        std::string kept;
        for (const std::string& line : test::SplitLines(text)) {
            if (line.rfind("lastclean=", 0) != 0 && line.rfind("regnum=", 0) != 0 &&
                line.rfind("filesize=", 0) != 0) {
                kept += line + "\n";
            }
        }
        return kept;
    };
    test::WriteFileText(Settings(), settings);
    const std::string before = withoutTotals(settings);
    for (int round = 0; round < 3; ++round) {
        test::WriteFileOfSize(roaming + "\\Mozilla\\Firefox\\Profiles\\p\\cookies.sqlite", 10);
        std::vector<ProcessResult> results(6);
        std::vector<std::thread> passes;
        for (ProcessResult& result : results) {
            passes.emplace_back([&] { result = Run({"clean"}); });
        }
        for (std::thread& pass : passes) {
            pass.join();
        }
        for (const ProcessResult& result : results) {
            EXPECT_EQ(result.exitCode, 0u) << result.err;
        }
        const std::string after = test::ReadFileText(Settings());
        EXPECT_EQ(withoutTotals(after), before) << "round " << round;
        EXPECT_EQ(ReadIniValue(Settings(), "Options", "regnum"), "0");
    }
}

TEST_F(CliSafetyTest, ASecondPassThatCannotStartSaysSoWithItsOwnExitCode) {
    WriteIniValue(Settings(), "FIREFOX", "Cookies", "1");
    test::WriteFileOfSize(roaming + "\\Mozilla\\Firefox\\Profiles\\p\\cookies.sqlite", 10);
    PassLock running;
    ASSERT_TRUE(running.Acquire(program.path(), 0));
    const ProcessResult busy = Run({"clean"});
    EXPECT_EQ(busy.exitCode, 4u);
    EXPECT_NE(busy.err.find("another cleaning pass is running"), std::string::npos) << busy.err;
    EXPECT_TRUE(busy.out.empty()) << busy.out;
    EXPECT_TRUE(test::FileExists(roaming + "\\Mozilla\\Firefox\\Profiles\\p\\cookies.sqlite"));
    EXPECT_EQ(ReadIniValue(Settings(), "Options", "lastclean"), "");
    running.Release();
    EXPECT_EQ(Run({"clean"}).exitCode, 0u);
}

// A file another program holds open without delete sharing stays; the row says so, the preview
// foresees it, and the exit code tells a script.
TEST_F(CliSafetyTest, AFileInUseIsReportedAsStayingAndGivesExitCodeOne) {
    const std::string profile = roaming + "\\Mozilla\\Firefox\\Profiles\\p.default";
    test::WriteFileOfSize(profile + "\\cookies.sqlite", 10);
    WriteIniValue(Settings(), "FIREFOX", "Cookies", "1");
    const HANDLE held = CreateFileW(Widen(profile + "\\cookies.sqlite").c_str(),
                                    GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    const ProcessResult preview = Run({"preview"});
    EXPECT_EQ(preview.exitCode, 0u);
    const auto lines = test::SplitLines(preview.out);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Firefox Cookies\tDone, 1 in use"), lines.end())
        << preview.out;
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "file\t" + profile + "\\cookies.sqlite\t10\t(would stay: in use)"),
              lines.end())
        << preview.out;

    const ProcessResult clean = Run({"clean"});
    EXPECT_EQ(clean.exitCode, 1u);
    EXPECT_EQ(test::SplitLines(clean.out).at(0), "Firefox Cookies\tDone, 1 in use");
    CloseHandle(held);
    EXPECT_TRUE(test::FileExists(profile + "\\cookies.sqlite"));

    // Once the other program lets go, the item is simply done.
    const ProcessResult again = Run({"clean"});
    EXPECT_EQ(again.exitCode, 0u);
    EXPECT_EQ(test::SplitLines(again.out).at(0), "Firefox Cookies\tDone");
    EXPECT_FALSE(test::FileExists(profile + "\\cookies.sqlite"));
}

}  // namespace
}  // namespace hm
