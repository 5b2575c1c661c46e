// The changes a pass makes, made.
#include <windows.h>

#include "config/inifun.h"
#include "engine/changes.h"
#include "engine/database_cleaning.h"
#include "keeplists/url_history.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/shred.h"

namespace hm {
namespace {

class RealChanges final : public Changes {
public:
    explicit RealChanges(bool overwriteFirst) : overwriteFirst_(overwriteFirst) {}

    bool IsGone(std::wstring_view) const override { return false; }
    bool IsEmptied(std::wstring_view) const override { return false; }
    bool IsKeyGone(RootKey, std::string_view) const override { return false; }
    bool IsValueGone(RootKey, std::string_view, std::string_view) const override { return false; }
    bool IsSectionGone(std::wstring_view, std::string_view) const override { return false; }

    std::uint32_t ClearAttributes(const std::wstring& path) override {
        return files::ClearAttributes(path);
    }

    std::uint32_t RemoveFile(const std::wstring& path, bool isLink) override {
        if (isLink) {
            return RemoveLink(path);
        }
        // A file that cannot be overwritten (in use, or only writable with the sharing others
        // deny) is still deleted as it would be without the option. One the system reaches
        // through a link is a link, and goes as one.
        if (overwriteFirst_ &&
            shred::OverwriteInPlace(path, {}) == files::kErrorLinkNotAddressable) {
            return RemoveLink(path);
        }
        return files::RemoveFile(path);
    }

    std::uint32_t RemoveFolder(const std::wstring& path, bool isLink) override {
        return isLink ? RemoveLink(path) : files::RemoveFolder(path);
    }

    std::uint32_t MakeFolder(const std::wstring& path) override {
        return files::CreateFolder(path);
    }

    std::uint32_t DeleteAtReboot(const std::wstring& path) override {
        return files::DeleteAtNextBoot(path);
    }

    std::uint32_t DeleteKey(RootKey root, const std::string& subKey) override {
        return static_cast<std::uint32_t>(DeleteRegistryKey(ToHkey(root), subKey));
    }

    std::uint32_t DeleteTree(RootKey root, const std::string& subKey) override {
        return static_cast<std::uint32_t>(DeleteRegistryTree(ToHkey(root), subKey));
    }

    std::uint32_t DeleteValue(RootKey root, const std::string& subKey,
                              const std::string& value) override {
        RegKey key;
        const LONG opened = key.Open(ToHkey(root), subKey, KEY_SET_VALUE);
        return static_cast<std::uint32_t>(opened != ERROR_SUCCESS ? opened
                                                                  : key.DeleteValue(value));
    }

    std::uint32_t CreateKey(RootKey root, const std::string& subKey) override {
        RegKey key;
        return static_cast<std::uint32_t>(key.Create(ToHkey(root), subKey, KEY_QUERY_VALUE));
    }

    std::uint32_t SetString(RootKey root, const std::string& subKey, const std::string& name,
                            const std::string& text) override {
        RegKey key;
        const LONG opened = key.Open(ToHkey(root), subKey, KEY_SET_VALUE);
        return static_cast<std::uint32_t>(opened != ERROR_SUCCESS ? opened
                                                                  : key.SetString(name, text));
    }

    std::uint32_t RemoveIniSection(const std::string& file, const std::string& section) override {
        return hm::RemoveIniSection(file, section);
    }

    std::uint32_t Launch(const LaunchRequest& request) override {
        ScopedHandle process;
        const std::uint32_t error = shell::StartProgram(request.commandLine, request.show, process);
        if (error != 0) {
            return error;
        }
        if (!request.keys.empty()) {
            constexpr unsigned kWindowWaitMs = 5000;
            shell::SendKeysToProcessWindow(process, request.keys, kWindowWaitMs,
                                           request.whileWaiting);
        }
        if (!request.wait) {
            return 0;
        }
        while (!shell::WaitForEnd(process, 50)) {
            if (request.whileWaiting) {
                request.whileWaiting();
            }
        }
        return 0;
    }

    std::uint32_t EmptyClipboard() override { return shell::EmptyTheClipboard(); }
    std::uint32_t EmptyRecycleBins() override { return shell::EmptyRecycleBins(); }
    std::uint32_t ClearRecentDocuments() override { return shell::ClearRecentDocuments(); }
    DatabaseOutcome CleanDatabase(const std::string& path,
                                  const DatabaseCleaning& cleaning) override {
        return CleanDatabaseFile(path, cleaning);
    }
    std::uint32_t ClearUrlHistory() override {
        return static_cast<std::uint32_t>(ClearSystemUrlHistory());
    }

private:
    // A link goes through a handle that is known to be the link itself: by path, some systems
    // remove what the link points at.
    static std::uint32_t RemoveLink(const std::wstring& path) {
        files::DeletionCandidate link;
        const std::uint32_t error = link.Open(path, true);
        return error != 0 ? error : link.Delete();
    }

    bool overwriteFirst_;
};

}  // namespace

std::unique_ptr<Changes> MakeRealChanges(bool overwriteFirst) {
    return std::make_unique<RealChanges>(overwriteFirst);
}

}  // namespace hm
