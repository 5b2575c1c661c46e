#include "platform/sqlite_db.h"

#include <sqlite3.h>

#include <utility>

#include "platform/files.h"
#include "platform/path_rules.h"

namespace hm::sqlite {
namespace {

Status Make(int code, const char* message) {
    return Status{code, message != nullptr ? message : sqlite3_errstr(code)};
}

// The path as a URI for sqlite3_open_v2: "file:///C:/a/b", with the characters that would end the
// path or start an escape written as escapes.
std::string FileUri(const std::string& path) {
    std::string uri = "file:///";
    for (const char c : path) {
        if (c == '\\') {
            uri += '/';
        } else if (c == '%' || c == '?' || c == '#') {
            constexpr char kHex[] = "0123456789ABCDEF";
            const unsigned char byte = static_cast<unsigned char>(c);
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 15];
        } else {
            uri += c;
        }
    }
    return uri;
}

// Byte 18 of the header is 2 in write-ahead mode, 1 in rollback mode.
constexpr std::size_t kHeaderBytes = 100;
constexpr std::size_t kWriteVersionOffset = 18;

}  // namespace

bool Status::busy() const {
    const int primary = code & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

Database::~Database() {
    Close();
}

Database::Database(Database&& other) noexcept : db_(std::exchange(other.db_, nullptr)) {}

Database& Database::operator=(Database&& other) noexcept {
    if (this != &other) {
        Close();
        db_ = std::exchange(other.db_, nullptr);
    }
    return *this;
}

Status Database::LastError(int code) const {
    if (code == SQLITE_OK) {
        return {};
    }
    return Make(code, db_ != nullptr ? sqlite3_errmsg(db_) : nullptr);
}

Status Database::Open(const std::string& path, int busyWaitMilliseconds) {
    Close();
    // SQLite would take an empty name or ":memory:" for a new database of its own, and a
    // relative name against the current folder; none of them is a file the caller found.
    if (!IsAbsolutePath(path)) {
        return Make(SQLITE_CANTOPEN, "not an absolute path to a database file");
    }
    return OpenWith(path, SQLITE_OPEN_READWRITE, busyWaitMilliseconds);
}

Status Database::OpenWith(const std::string& name, int flags, int busyWaitMilliseconds) {
    sqlite3* db = nullptr;
    int code = sqlite3_open_v2(name.c_str(), &db, flags | SQLITE_OPEN_EXRESCODE, nullptr);
    if (code == SQLITE_OK) {
        sqlite3_busy_timeout(db, busyWaitMilliseconds);
        // The first read checks the header, takes a shared lock and recovers a hot journal or
        // a write-ahead log.
        code = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    }
    if (code != SQLITE_OK) {
        Status status = Make(code, db != nullptr ? sqlite3_errmsg(db) : nullptr);
        sqlite3_close_v2(db);
        return status;
    }
    db_ = db;
    return {};
}

Status Database::OpenReadOnly(const std::string& path, int busyWaitMilliseconds) {
    Close();
    if (!IsAbsolutePath(path)) {
        return Make(SQLITE_CANTOPEN, "not an absolute path to a database file");
    }
    std::string header;
    std::uint64_t size = 0;
    if (files::ReadFileHead(path, kHeaderBytes, header, size) != 0) {
        return Make(SQLITE_CANTOPEN, "the database file cannot be read");
    }
    std::string uri = FileUri(path);
    if (header.size() > kWriteVersionOffset && header[kWriteVersionOffset] == 2) {
        // With "mode=ro" SQLite still makes the log and the shared-memory index beside the file,
        // and a reader may not remove them again: an empty -wal and a 32 KiB -shm stay behind.
        // "immutable" reads the file alone and makes nothing, which is the whole database only
        // while no log holds newer pages.
        files::Info log;
        if (files::QueryInfo(files::ToLongPath(path + kWalSuffix), log) == 0) {
            return Make(SQLITE_BUSY, "the database is in use: its write-ahead log is there");
        }
        uri += "?immutable=1";
    } else {
        uri += "?mode=ro";
    }
    return OpenWith(uri, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, busyWaitMilliseconds);
}

Status Database::Close() {
    if (db_ == nullptr) {
        return {};
    }
    // close_v2 lets statements that are still alive finish later instead of failing here.
    const int code = sqlite3_close_v2(db_);
    Status status = code == SQLITE_OK ? Status{} : Make(code, sqlite3_errmsg(db_));
    db_ = nullptr;
    return status;
}

Status Database::Execute(std::string_view sql) {
    if (db_ == nullptr) {
        return Make(SQLITE_MISUSE, "database not open");
    }
    // sqlite3_exec wants a terminated string; the view may not be one.
    const std::string text(sql);
    char* message = nullptr;
    const int code = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message);
    Status status = code == SQLITE_OK
                        ? Status{}
                        : Make(code, message != nullptr ? message : sqlite3_errmsg(db_));
    sqlite3_free(message);
    return status;
}

Status Database::Prepare(std::string_view sql, Statement& statement) {
    if (db_ == nullptr) {
        return Make(SQLITE_MISUSE, "database not open");
    }
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    const int code =
        sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt, &tail);
    if (code != SQLITE_OK) {
        return LastError(code);
    }
    if (stmt == nullptr) {
        return Make(SQLITE_MISUSE, "no statement in the text");
    }
    statement.Finalize();
    statement.stmt_ = stmt;
    statement.db_ = db_;
    statement.error_ = {};
    return {};
}

std::int64_t Database::Changes() const {
    return db_ != nullptr ? sqlite3_changes64(db_) : 0;
}

std::string Database::JournalMode() {
    Statement statement;
    if (!Prepare("PRAGMA journal_mode", statement).ok() || statement.Step() != StepResult::Row) {
        return {};
    }
    return statement.ColumnText(0);
}

Status Database::Checkpoint() {
    if (db_ == nullptr) {
        return Make(SQLITE_MISUSE, "database not open");
    }
    // In rollback mode this does nothing and succeeds.
    const int code =
        sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    return LastError(code);
}

Status Database::Compact() {
    if (db_ == nullptr) {
        return Make(SQLITE_MISUSE, "database not open");
    }
    if (sqlite3_get_autocommit(db_) == 0) {
        return Make(SQLITE_MISUSE, "a transaction is open");
    }
    // In write-ahead mode VACUUM writes the new pages to the log, and the old log frames may
    // still hold deleted rows: the checkpoint after it moves the pages into the file and cuts
    // the log to nothing.
    Status status = Execute("VACUUM");
    if (!status.ok()) {
        return status;
    }
    return Checkpoint();
}

Statement::~Statement() {
    Finalize();
}

Statement::Statement(Statement&& other) noexcept
    : stmt_(std::exchange(other.stmt_, nullptr)),
      db_(std::exchange(other.db_, nullptr)),
      error_(std::move(other.error_)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        Finalize();
        stmt_ = std::exchange(other.stmt_, nullptr);
        db_ = std::exchange(other.db_, nullptr);
        error_ = std::move(other.error_);
    }
    return *this;
}

void Statement::Finalize() {
    if (stmt_ != nullptr) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }
}

Status Statement::Checked(int code) {
    if (code == SQLITE_OK || code == SQLITE_ROW || code == SQLITE_DONE) {
        return {};
    }
    error_ = Make(code, db_ != nullptr ? sqlite3_errmsg(db_) : nullptr);
    return error_;
}

Status Statement::BindInt64(int index, std::int64_t value) {
    if (stmt_ == nullptr) {
        return Make(SQLITE_MISUSE, "statement not prepared");
    }
    return Checked(sqlite3_bind_int64(stmt_, index, value));
}

Status Statement::BindText(int index, std::string_view value) {
    if (stmt_ == nullptr) {
        return Make(SQLITE_MISUSE, "statement not prepared");
    }
    return Checked(sqlite3_bind_text64(stmt_, index, value.data(), value.size(), SQLITE_TRANSIENT,
                                       SQLITE_UTF8));
}

Status Statement::BindNull(int index) {
    if (stmt_ == nullptr) {
        return Make(SQLITE_MISUSE, "statement not prepared");
    }
    return Checked(sqlite3_bind_null(stmt_, index));
}

StepResult Statement::Step() {
    if (stmt_ == nullptr) {
        error_ = Make(SQLITE_MISUSE, "statement not prepared");
        return StepResult::Error;
    }
    const int code = sqlite3_step(stmt_);
    if (code == SQLITE_ROW) {
        return StepResult::Row;
    }
    if (code == SQLITE_DONE) {
        return StepResult::Done;
    }
    Checked(code);
    return StepResult::Error;
}

Status Statement::Run() {
    for (;;) {
        switch (Step()) {
            case StepResult::Row:
                continue;
            case StepResult::Done:
                return {};
            case StepResult::Error:
                return error_;
        }
    }
}

Status Statement::Reset() {
    if (stmt_ == nullptr) {
        return Make(SQLITE_MISUSE, "statement not prepared");
    }
    // sqlite3_reset repeats the last step's error, which was already reported.
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    error_ = {};
    return {};
}

int Statement::ColumnCount() const {
    return stmt_ != nullptr ? sqlite3_column_count(stmt_) : 0;
}

bool Statement::ColumnIsNull(int column) const {
    return stmt_ == nullptr || sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::int64_t Statement::ColumnInt64(int column) const {
    return stmt_ != nullptr ? sqlite3_column_int64(stmt_, column) : 0;
}

std::string Statement::ColumnText(int column) const {
    if (stmt_ == nullptr) {
        return {};
    }
    const unsigned char* text = sqlite3_column_text(stmt_, column);
    const int bytes = sqlite3_column_bytes(stmt_, column);
    if (text == nullptr) {
        return {};
    }
    return std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(bytes));
}

Transaction::Transaction(Database& db) : db_(db) {
    status_ = db_.Execute("BEGIN IMMEDIATE");
    open_ = status_.ok();
}

Transaction::~Transaction() {
    if (open_) {
        db_.Execute("ROLLBACK");
    }
}

Status Transaction::Commit() {
    if (!open_) {
        return status_.ok() ? Status{SQLITE_MISUSE, "transaction already ended"} : status_;
    }
    Status status = db_.Execute("COMMIT");
    // A COMMIT that failed on a busy lock leaves the transaction open; the destructor rolls it
    // back.
    if (status.ok()) {
        open_ = false;
    }
    return status;
}

}  // namespace hm::sqlite
