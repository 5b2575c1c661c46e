// hm_db_holder DATABASE [SECONDS]
//
// Holds an SQLite database as a running browser holds its own: exclusive locking mode and an open
// write transaction, so that no other connection may read or change it. Prints "ready" once the
// lock is held and keeps it until its standard input closes or the given seconds (60 unless
// told) pass. Copied under a browser's program name, it stands for that browser in the tests.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "platform/sqlite_db.h"
#include "platform/text.h"

namespace {

DWORD WINAPI ReadUntilInputCloses(void*) {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    char buffer[256];
    DWORD got = 0;
    while (ReadFile(input, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: hm_db_holder DATABASE [SECONDS]\n", stderr);
        return 2;
    }
    const std::string database = hm::Narrow(argv[1]);
    const long seconds = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 60;

    hm::sqlite::Database db;
    hm::sqlite::Status status = db.Open(database);
    if (status.ok()) {
        status = db.Execute("PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE");
    }
    if (!status.ok()) {
        std::fprintf(stderr, "hm_db_holder: %s: %d %s\n", database.c_str(), status.code,
                     status.message.c_str());
        return 1;
    }
    std::fputs("ready\n", stdout);
    std::fflush(stdout);

    // The reader may stay blocked when the time runs out; leaving wmain ends it with the process.
    const HANDLE reader = CreateThread(nullptr, 0, ReadUntilInputCloses, nullptr, 0, nullptr);
    if (reader != nullptr) {
        WaitForSingleObject(reader, static_cast<DWORD>(seconds > 0 ? seconds : 1) * 1000);
        CloseHandle(reader);
    }
    db.Execute("ROLLBACK");
    db.Close();
    return 0;
}
