// A thin owner of SQLite databases, for the browsers' own files: open an existing database for
// reading and writing, or for reading only (never create one), prepared statements,
// transactions, and compaction that leaves the file holding no trace of deleted rows and no log
// beside it that disagrees with it.
//
// Errors come back as values: SQLite's (extended) result code and its message. Nothing here
// throws; paths are UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace hm::sqlite {

struct Status {
    int code = 0;  // SQLITE_OK
    std::string message;

    bool ok() const { return code == 0; }
    // Another connection, perhaps another program, holds a lock the call needed.
    bool busy() const;
};

// The files SQLite may keep beside a database: its write-ahead log, the log's shared-memory
// index and the rollback journal. A database deleted or copied without them loses or corrupts
// what they hold.
inline constexpr const char* kWalSuffix = "-wal";
inline constexpr const char* kShmSuffix = "-shm";
inline constexpr const char* kJournalSuffix = "-journal";

class Statement;

class Database {
public:
    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    Database(Database&& other) noexcept;
    Database& operator=(Database&& other) noexcept;

    // Opens an existing database, given by its absolute path, for reading and writing, and reads
    // its schema at once: a file that is not a database, a lock held elsewhere (beyond the wait
    // below) or a log that cannot be recovered is reported here, not at the first statement. A
    // log left by a program that stopped mid-write is applied or rolled back by SQLite while it
    // reads. On failure the object stays closed.
    Status Open(const std::string& path, int busyWaitMilliseconds = 250);
    // Opens an existing database, given by its absolute path, for reading only, in a way that
    // writes nothing at all: not the file, not a log, and no file is made beside it (a plain
    // read-only reader in write-ahead mode makes the -wal and -shm files and, unable to fold
    // them, leaves them there). A database in write-ahead mode is read straight from its file, with
    // no locks, and only while it has no log beside it: a log means a program has it open, or
    // stopped mid-write, and the file alone may be behind; that is reported as busy. A database
    // in rollback mode is read under a shared lock, so a lock held elsewhere or a journal left
    // by a write that stopped half-way (which only a writer may roll back) is reported, not read
    // through. On failure the object stays closed.
    Status OpenReadOnly(const std::string& path, int busyWaitMilliseconds = 0);
    // Closes; the last connection to a database in write-ahead mode folds its log into the file
    // and removes the -wal and -shm files.
    Status Close();
    bool IsOpen() const { return db_ != nullptr; }

    // Runs one or more statements that return no rows of interest.
    Status Execute(std::string_view sql);
    Status Prepare(std::string_view sql, Statement& statement);
    // Rows changed by the last INSERT, UPDATE or DELETE.
    std::int64_t Changes() const;
    // "wal", "delete", "truncate", "persist", "memory" or "off"; empty on failure.
    std::string JournalMode();

    // Rebuilds the file from its live rows only, so that deleted rows are gone from its bytes,
    // then folds the write-ahead log (if any) into the file and cuts the log to nothing. Not
    // inside a transaction.
    Status Compact();
    // Copies the write-ahead log into the file and truncates it; nothing to do in rollback mode.
    Status Checkpoint();

    sqlite3* handle() const { return db_; }

private:
    Status LastError(int code) const;
    // Opens the file or URI with the flags and reads the schema; closed again on failure.
    Status OpenWith(const std::string& name, int flags, int busyWaitMilliseconds);

    sqlite3* db_ = nullptr;
};

enum class StepResult { Row, Done, Error };

class Statement {
public:
    Statement() = default;
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;

    bool IsReady() const { return stmt_ != nullptr; }

    // Parameters count from 1, as in SQL's "?1".
    Status BindInt64(int index, std::int64_t value);
    Status BindText(int index, std::string_view value);
    Status BindNull(int index);

    // One step; after Error, error() tells why.
    StepResult Step();
    // Steps to the end, for statements that return no rows.
    Status Run();
    // Ready to run again, with every parameter unbound.
    Status Reset();

    int ColumnCount() const;
    bool ColumnIsNull(int column) const;
    std::int64_t ColumnInt64(int column) const;
    std::string ColumnText(int column) const;

    const Status& error() const { return error_; }

private:
    friend class Database;
    Status Checked(int code);
    void Finalize();

    sqlite3_stmt* stmt_ = nullptr;
    sqlite3* db_ = nullptr;
    Status error_;
};

// BEGIN IMMEDIATE at construction, so that a lock held elsewhere shows before any change; rolled
// back at destruction unless committed.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Whether the transaction began; the reason when it did not.
    const Status& status() const { return status_; }
    Status Commit();

private:
    Database& db_;
    Status status_;
    bool open_ = false;
};

}  // namespace hm::sqlite
