// The changes a pass would make: each is predicted from the state of the machine without being
// made, and remembered, so that later steps see what the real pass would see.
#include <windows.h>

#include <map>
#include <memory>

#include "config/inifun.h"
#include "engine/changes.h"
#include "engine/database_cleaning.h"
#include "engine/preview_ledger.h"
#include "keeplists/url_history.h"
#include "platform/files.h"
#include "platform/path_rules.h"
#include "platform/registry.h"
#include "platform/shell.h"

namespace hm {
namespace {

class DryRunChanges final : public Changes {
public:
    bool IsGone(std::wstring_view path) const override { return ledger_.IsGone(path); }
    bool IsEmptied(std::wstring_view folder) const override { return ledger_.IsEmptied(folder); }
    bool IsKeyGone(RootKey root, std::string_view subKey) const override {
        return ledger_.IsKeyGone(root, subKey);
    }
    bool IsValueGone(RootKey root, std::string_view subKey, std::string_view value) const override {
        return ledger_.IsValueGone(root, subKey, value);
    }
    bool IsSectionGone(std::wstring_view file, std::string_view section) const override {
        return ledger_.IsSectionGone(file, section);
    }

    // Attribute changes are not predicted to fail: they need no sharing and no delete access.
    std::uint32_t ClearAttributes(const std::wstring&) override { return 0; }

    std::uint32_t RemoveFile(const std::wstring& path, bool isLink) override {
        return Remove(path, isLink);
    }

    // The walk has already seen to it that nothing would be left inside.
    std::uint32_t RemoveFolder(const std::wstring& path, bool isLink) override {
        return Remove(path, isLink);
    }

    std::uint32_t MakeFolder(const std::wstring& path) override {
        files::Info info;
        if (files::QueryInfo(path, info) == 0 && !ledger_.IsGone(path)) {
            return ERROR_ALREADY_EXISTS;
        }
        const std::wstring parent = path.substr(0, path.rfind(L'\\'));
        if (files::QueryInfo(parent, info) != 0 || ledger_.IsGone(parent)) {
            return ERROR_PATH_NOT_FOUND;
        }
        ledger_.MarkEmptied(path);
        return 0;
    }

    std::uint32_t DeleteAtReboot(const std::wstring&) override {
        return files::CanDeleteAtNextBoot();
    }

    std::uint32_t DeleteKey(RootKey root, const std::string& subKey) override {
        return Opens(root, subKey, DELETE, [&] { ledger_.MarkKeyGone(root, subKey); });
    }

    std::uint32_t DeleteTree(RootKey root, const std::string& subKey) override {
        return Opens(root, subKey, DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE,
                     [&] { ledger_.MarkKeyGone(root, subKey); });
    }

    std::uint32_t DeleteValue(RootKey root, const std::string& subKey,
                              const std::string& value) override {
        return Opens(root, subKey, KEY_SET_VALUE,
                     [&] { ledger_.MarkValueGone(root, subKey, value); });
    }

    std::uint32_t CreateKey(RootKey root, const std::string& subKey) override {
        if (ledger_.IsKeyGone(root, subKey) || !Exists(root, subKey)) {
            ledger_.MarkKeyRemade(root, subKey);
        }
        return 0;
    }

    std::uint32_t SetString(RootKey root, const std::string& subKey, const std::string& name,
                            const std::string&) override {
        if (ledger_.IsKeyRemade(root, subKey)) {
            ledger_.MarkValueWritten(root, subKey, name);
            return 0;
        }
        if (ledger_.IsKeyGone(root, subKey)) {
            return ERROR_FILE_NOT_FOUND;
        }
        return Opens(root, subKey, KEY_SET_VALUE,
                     [&] { ledger_.MarkValueWritten(root, subKey, name); });
    }

    std::uint32_t RemoveIniSection(const std::string& file, const std::string& section) override {
        const std::uint32_t error = CanRewriteIniFile(file);
        if (error == 0) {
            ledger_.MarkSectionGone(files::ToLongPath(file), section);
        }
        return error;
    }

    std::uint32_t Launch(const LaunchRequest& request) override {
        return shell::FindProgram(request.commandLine);
    }

    std::uint32_t EmptyClipboard() override { return 0; }
    std::uint32_t EmptyRecycleBins() override { return 0; }
    std::uint32_t ClearRecentDocuments() override { return 0; }
    // The store is asked for its entries, which changes nothing: one that cannot answer that
    // (as on systems without it) would not clear either.
    // Tried on a copy that the rest of the pass goes on with, so that a second cleaning of the
    // same database sees what the first would have left.
    DatabaseOutcome CleanDatabase(const std::string& path,
                                  const DatabaseCleaning& cleaning) override {
        auto& copy = databaseCopies_[AsciiLower(path)];
        if (!copy) {
            copy = std::make_unique<DatabaseCopy>(path);
        }
        if (copy->path().empty()) {
            DatabaseOutcome outcome;
            outcome.status = {14 /* SQLITE_CANTOPEN */, "the database could not be copied"};
            return outcome;
        }
        return CleanDatabaseFile(copy->path(), cleaning);
    }
    std::uint32_t ClearUrlHistory() override {
        ComUrlHistoryStore store;
        std::vector<URLHistoryItem> items;
        const HRESULT result =
            FAILED(store.CreationResult()) ? store.CreationResult() : store.Enumerate("", 0, items);
        return FAILED(result) ? static_cast<std::uint32_t>(result) : 0;
    }

private:
    std::uint32_t Remove(const std::wstring& path, bool isLink) {
        files::DeletionCandidate item;
        const std::uint32_t error = item.Open(path, isLink);
        if (error == 0) {
            ledger_.MarkGone(path);
        }
        return error;
    }

    static bool Exists(RootKey root, const std::string& subKey) {
        RegKey key;
        return key.Open(ToHkey(root), subKey, KEY_QUERY_VALUE) == ERROR_SUCCESS;
    }

    // Whether the key opens with the access the change needs; remembers the change if so.
    template <typename Remember>
    static std::uint32_t Opens(RootKey root, const std::string& subKey, REGSAM access,
                               Remember remember) {
        RegKey key;
        const LONG status = key.Open(ToHkey(root), subKey, access);
        if (status == ERROR_SUCCESS) {
            remember();
        }
        return static_cast<std::uint32_t>(status);
    }

    PreviewLedger ledger_;
    std::map<std::string, std::unique_ptr<DatabaseCopy>> databaseCopies_;
};

}  // namespace

std::unique_ptr<Changes> MakeDryRunChanges() {
    return std::make_unique<DryRunChanges>();
}

}  // namespace hm
