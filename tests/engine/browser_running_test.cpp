// The browser-running check on real processes: hm_db_holder.exe, copied to where a browser
// installs its program and under that program's name, holds a database as the browser would.
#include "engine/browser_running.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "platform/path_rules.h"
#include "platform/processes.h"
#include "platform/sqlite_db.h"
#include "platform/text.h"
#include "support/sandbox.h"

namespace hm::browsers {
namespace {

using test::TempFolder;

void MakeDatabase(const std::string& path) {
    sqlite3* db = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
        SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url TEXT)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close_v2(db);
}

// The holder copied into a folder of the sandbox's C: drive; the folders it had to make go again
// with it.
class PlacedProgram {
public:
    PlacedProgram(const std::string& folder, const std::string& name)
        : path_(JoinPath(folder, name)) {
        for (std::string_view above = folder;
             IsAbsolutePath(above) && !test::FolderExists(std::string(above));
             above = ParentOf(above)) {
            madeFolder_ = std::string(above);
        }
        test::MakeFolders(folder);
        copied_ = CopyFileW(Widen(JoinPath(test::ExecutableFolder(), "hm_db_holder.exe")).c_str(),
                            Widen(path_).c_str(), FALSE) != 0;
    }
    ~PlacedProgram() {
        DeleteFileW(Widen(path_).c_str());
        if (!madeFolder_.empty()) {
            test::RemoveTree(madeFolder_);
        }
    }
    PlacedProgram(const PlacedProgram&) = delete;
    PlacedProgram& operator=(const PlacedProgram&) = delete;

    const std::string& path() const { return path_; }
    bool copied() const { return copied_; }

private:
    std::string path_;
    std::string madeFolder_;
    bool copied_ = false;
};

// A running holder. Ended when the object goes, whatever the test asserted: its input is closed,
// and if it has not gone within a few seconds it is terminated.
class Holder {
public:
    Holder(const std::string& program, const std::string& database) {
        SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE inputRead = nullptr;
        HANDLE outputWrite = nullptr;
        if (!CreatePipe(&inputRead, &input_, &inherit, 0)) {
            return;
        }
        if (!CreatePipe(&output_, &outputWrite, &inherit, 0)) {
            CloseHandle(inputRead);
            return;
        }
        SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
        std::wstring commandLine = L"\"" + Widen(program) + L"\" \"" + Widen(database) + L"\" 60";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = inputRead;
        startup.hStdOutput = outputWrite;
        startup.hStdError = outputWrite;
        PROCESS_INFORMATION started{};
        if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                           nullptr, nullptr, &startup, &started)) {
            process_ = started.hProcess;
            CloseHandle(started.hThread);
        }
        CloseHandle(inputRead);
        CloseHandle(outputWrite);
        // It prints "ready" once it holds the lock, or an error and ends.
        char buffer[256];
        DWORD got = 0;
        while (process_ != nullptr && said_.find('\n') == std::string::npos &&
               ReadFile(output_, buffer, sizeof buffer, &got, nullptr) && got > 0) {
            said_.append(buffer, got);
        }
    }
    ~Holder() { End(); }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;

    bool ready() const { return said_.rfind("ready", 0) == 0; }
    const std::string& said() const { return said_; }

    // Closes its input and waits for it to go; true when it went by itself.
    bool End() {
        bool wentByItself = true;
        Close(input_);
        if (process_ != nullptr) {
            wentByItself = WaitForSingleObject(process_, 10000) == WAIT_OBJECT_0;
            if (!wentByItself) {
                TerminateProcess(process_, 1);
                WaitForSingleObject(process_, 10000);
            }
        }
        Close(process_);
        Close(output_);
        return wentByItself;
    }

private:
    static void Close(HANDLE& handle) {
        if (handle != nullptr) {
            CloseHandle(handle);
            handle = nullptr;
        }
    }

    HANDLE process_ = nullptr;
    HANDLE input_ = nullptr;
    HANDLE output_ = nullptr;
    std::string said_;
};

bool ListedWithPath(const std::string& path) {
    for (const ProcessImage& process : RunningProcesses()) {
        if (AsciiLower(process.path) == AsciiLower(path)) {
            return true;
        }
    }
    return false;
}

TEST(BrowserRunning, FirefoxRunsWhileItsProgramHoldsItsDatabase) {
    TempFolder folder;
    const std::string database = folder / "places.sqlite";
    MakeDatabase(database);
    PlacedProgram firefox("C:\\Program Files\\Mozilla Firefox", "firefox.exe");
    ASSERT_TRUE(firefox.copied());
    ASSERT_FALSE(IsBrowserRunning("Firefox"));
    // The list leaves out the process that asks.
    EXPECT_FALSE(ListedWithPath(JoinPath(test::ExecutableFolder(), "hm_tests_engine.exe")));
    {
        Holder holder(firefox.path(), database);
        ASSERT_TRUE(holder.ready()) << holder.said();
        EXPECT_TRUE(ListedWithPath(firefox.path()));
        EXPECT_TRUE(IsBrowserRunning("Firefox"));
        EXPECT_FALSE(IsBrowserRunning("Chrome"));
        sqlite::Database db;
        const sqlite::Status opened = db.Open(database);
        EXPECT_TRUE(opened.busy()) << opened.code << " " << opened.message;
        EXPECT_TRUE(holder.End());
    }
    EXPECT_FALSE(IsBrowserRunning("Firefox"));
    sqlite::Database db;
    EXPECT_TRUE(db.Open(database).ok());
}

TEST(BrowserRunning, ChromeAndChromiumAreToldApartByTheProgramsFolder) {
    TempFolder folder;
    const std::string database = folder / "History";
    MakeDatabase(database);
    struct Case {
        const char* folder;
        bool chrome;
        bool chromium;
    };
    for (const Case& c : {Case{"C:\\Program Files\\Google\\Chrome\\Application", true, false},
                          Case{"C:\\Tools", true, true}}) {
        PlacedProgram chrome(c.folder, "chrome.exe");
        ASSERT_TRUE(chrome.copied()) << c.folder;
        Holder holder(chrome.path(), database);
        ASSERT_TRUE(holder.ready()) << c.folder << ": " << holder.said();
        EXPECT_EQ(IsBrowserRunning("Chrome"), c.chrome) << c.folder;
        EXPECT_EQ(IsBrowserRunning("Chromium"), c.chromium) << c.folder;
        EXPECT_FALSE(IsBrowserRunning("Firefox")) << c.folder;
        EXPECT_TRUE(holder.End());
        EXPECT_FALSE(IsBrowserRunning("Chrome")) << c.folder;
        EXPECT_FALSE(IsBrowserRunning("Chromium")) << c.folder;
    }
}

}  // namespace
}  // namespace hm::browsers
