// Cleaning an SQLite database row by row: rows swept by a rule of the caller, statements that
// run where their tables exist, or every table emptied but some; all in one transaction that a
// lock held elsewhere stops before anything changes, then compaction, so that the deleted rows
// are gone from the file's bytes and no log beside it holds them or disagrees with it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/browser_rows.h"
#include "platform/scratch.h"
#include "platform/sqlite_db.h"

namespace hm {

struct DatabaseCleaning {
    std::vector<browsers::RowSweep> sweeps;
    // The sweeps keep a row when this says so of its text; without it they keep nothing.
    std::function<bool(std::string_view text)> keep;
    std::vector<browsers::SqlStatement> statements;
    // Every table is emptied but these (and SQLite's own); off when empty.
    std::vector<std::string_view> emptyAllBut;
};

struct DatabaseOutcome {
    sqlite::Status status;
    std::uint64_t bytesBefore = 0;  // the database with its log files
    std::uint64_t bytesAfter = 0;
    std::int64_t rows = 0;  // rows deleted or changed
};

// Cleans the database at path (absolute). A database another program holds locked is left as
// it is and reported busy. Does nothing to a file that is not a database.
DatabaseOutcome CleanDatabaseFile(const std::string& path, const DatabaseCleaning& cleaning);

// A copy of a database with its logs in a scratch folder of its own, which goes with the object:
// to read or try a cleaning without changing the original.
class DatabaseCopy {
public:
    explicit DatabaseCopy(const std::string& original);
    // The copy; empty when it could not be made.
    const std::string& path() const { return path_; }

private:
    files::ScratchFolder scratch_;
    std::string path_;
};

// The first column of every row a query returns, read from a copy of the database so that the
// original, its log and its locks stay as they are. Empty when it cannot be read.
std::vector<std::string> ReadColumn(const std::string& path, std::string_view sql);

// The database and the log files beside it, in bytes; 0 for files that are not there.
std::uint64_t DatabaseBytes(const std::string& path);

}  // namespace hm
