#include "engine/database_cleaning.h"

#include <algorithm>
#include <set>

#include "platform/files.h"
#include "platform/scratch.h"

namespace hm {
namespace {

constexpr const char* kLogSuffixes[] = {sqlite::kWalSuffix, sqlite::kJournalSuffix};

std::uint64_t FileBytes(const std::string& path) {
    files::Info info;
    const std::wstring wide = files::ToLongPath(path);
    if (wide.empty() || files::QueryInfo(wide, info) != 0 ||
        (info.attributes & files::kDirectory) != 0) {
        return 0;
    }
    return info.size;
}

std::string Quoted(std::string_view name) {
    std::string text = "\"";
    for (char c : name) {
        text += c;
        if (c == '"') {
            text += '"';
        }
    }
    return text + "\"";
}

sqlite::Status TablesOf(sqlite::Database& db, std::set<std::string>& tables) {
    sqlite::Statement list;
    sqlite::Status status = db.Prepare("SELECT name FROM sqlite_master WHERE type = 'table'", list);
    if (!status.ok()) {
        return status;
    }
    for (;;) {
        switch (list.Step()) {
            case sqlite::StepResult::Row:
                tables.insert(list.ColumnText(0));
                continue;
            case sqlite::StepResult::Done:
                return {};
            case sqlite::StepResult::Error:
                return list.error();
        }
    }
}

sqlite::Status Sweep(sqlite::Database& db, const browsers::RowSweep& sweep,
                     const DatabaseCleaning& cleaning, std::int64_t& rows) {
    const std::string table = Quoted(sweep.table);
    std::string query = "SELECT rowid, " + Quoted(sweep.column) + " FROM " + table;
    if (!sweep.where.empty()) {
        query += " WHERE " + std::string(sweep.where);
    }
    // The rows to go are collected first: a table is not changed while it is being read.
    std::vector<std::int64_t> doomed;
    sqlite::Statement select;
    sqlite::Status status = db.Prepare(query, select);
    if (!status.ok()) {
        return status;
    }
    for (;;) {
        const sqlite::StepResult step = select.Step();
        if (step == sqlite::StepResult::Error) {
            return select.error();
        }
        if (step == sqlite::StepResult::Done) {
            break;
        }
        const std::string text = select.ColumnText(1);
        if (!cleaning.keep || !cleaning.keep(text)) {
            doomed.push_back(select.ColumnInt64(0));
        }
    }
    sqlite::Statement remove;
    status = db.Prepare("DELETE FROM " + table + " WHERE rowid = ?1", remove);
    for (std::int64_t rowid : doomed) {
        if (!status.ok()) {
            return status;
        }
        status = remove.BindInt64(1, rowid);
        if (status.ok()) {
            status = remove.Run();
        }
        if (status.ok()) {
            rows += db.Changes();
            status = remove.Reset();
        }
    }
    return status;
}

sqlite::Status RunCleaning(sqlite::Database& db, const DatabaseCleaning& cleaning,
                           std::int64_t& rows) {
    std::set<std::string> tables;
    sqlite::Status status = TablesOf(db, tables);
    if (!status.ok()) {
        return status;
    }
    const auto has = [&](std::string_view name) { return tables.count(std::string(name)) > 0; };
    for (const browsers::RowSweep& sweep : cleaning.sweeps) {
        if (has(sweep.table)) {
            status = Sweep(db, sweep, cleaning, rows);
            if (!status.ok()) {
                return status;
            }
        }
    }
    for (const browsers::SqlStatement& statement : cleaning.statements) {
        if (std::all_of(statement.tables.begin(), statement.tables.end(), has)) {
            status = db.Execute(statement.sql);
            if (!status.ok()) {
                return status;
            }
            rows += db.Changes();
        }
    }
    if (!cleaning.emptyAllBut.empty()) {
        for (const std::string& table : tables) {
            const bool kept = table.rfind("sqlite_", 0) == 0 ||
                              std::find(cleaning.emptyAllBut.begin(), cleaning.emptyAllBut.end(),
                                        table) != cleaning.emptyAllBut.end();
            if (kept) {
                continue;
            }
            status = db.Execute("DELETE FROM " + Quoted(table));
            if (!status.ok()) {
                return status;
            }
            rows += db.Changes();
        }
    }
    return {};
}

}  // namespace

std::uint64_t DatabaseBytes(const std::string& path) {
    std::uint64_t bytes = FileBytes(path);
    for (const char* suffix : kLogSuffixes) {
        bytes += FileBytes(path + suffix);
    }
    return bytes;
}

DatabaseOutcome CleanDatabaseFile(const std::string& path, const DatabaseCleaning& cleaning) {
    DatabaseOutcome outcome;
    outcome.bytesBefore = DatabaseBytes(path);
    outcome.bytesAfter = outcome.bytesBefore;
    sqlite::Database db;
    outcome.status = db.Open(path);
    if (!outcome.status.ok()) {
        return outcome;
    }
    {
        sqlite::Transaction transaction(db);
        outcome.status = transaction.status();
        if (outcome.status.ok()) {
            // Freed pages are overwritten too, should the compaction below not get to run.
            outcome.status = db.Execute("PRAGMA secure_delete = ON");
        }
        if (outcome.status.ok()) {
            outcome.status = RunCleaning(db, cleaning, outcome.rows);
        }
        if (outcome.status.ok()) {
            outcome.status = transaction.Commit();
        }
        if (!outcome.status.ok()) {
            outcome.rows = 0;
            return outcome;  // rolled back: the database is as it was
        }
    }
    outcome.status = db.Compact();
    const sqlite::Status closed = db.Close();
    if (outcome.status.ok()) {
        outcome.status = closed;
    }
    outcome.bytesAfter = DatabaseBytes(path);
    return outcome;
}

DatabaseCopy::DatabaseCopy(const std::string& original) {
    std::uint32_t error = scratch_.CopyIn(original, "db");
    for (const char* suffix : kLogSuffixes) {
        if (error == 0 && FileBytes(original + suffix) > 0) {
            error = scratch_.CopyIn(original + suffix, std::string("db") + suffix);
        }
    }
    if (error == 0) {
        path_ = scratch_.path() + "\\db";
    }
}

std::vector<std::string> ReadColumn(const std::string& path, std::string_view sql) {
    std::vector<std::string> texts;
    const DatabaseCopy copy(path);
    sqlite::Database db;
    if (copy.path().empty() || !db.Open(copy.path()).ok()) {
        return texts;
    }
    sqlite::Statement query;
    if (!db.Prepare(sql, query).ok()) {
        return texts;
    }
    while (query.Step() == sqlite::StepResult::Row) {
        texts.push_back(query.ColumnText(0));
    }
    return texts;
}

}  // namespace hm
