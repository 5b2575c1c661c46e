// Every change a pass makes to the machine goes through this interface: the real implementation
// makes it, the dry run only predicts whether it would succeed and remembers it, so that later
// steps of a previewed pass see the world as the real pass would. Nothing above this interface
// asks which of the two it talks to.
//
// Each call answers with a Win32 error code, 0 for success (or, in a dry run, predicted success).
// Paths are in the "\\?\" form of files::ToLongPath.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/regfun.h"

namespace hm {

struct DatabaseCleaning;
struct DatabaseOutcome;

struct LaunchRequest {
    std::string commandLine;
    int show = 0;       // window style the program starts with (SW_ values)
    bool wait = false;  // wait for the program to end
    // Keystrokes (virtual-key codes) for the started program's window, each sent once the one
    // before has been taken. They go only to a window of that program, once it is the active
    // window; when none becomes active within a few seconds they are not sent at all, so that
    // they can never reach another program.
    std::vector<unsigned short> keys;
    // Called while waiting, so that pending window events run.
    std::function<void()> whileWaiting;
};

class Changes {
public:
    virtual ~Changes() = default;

    // The world as this pass sees it: what an earlier change took away is not there any more.
    // True when the item, or a folder above it, was removed, or a folder above it emptied.
    virtual bool IsGone(std::wstring_view path) const = 0;
    // True when the folder was made again, empty, after its contents went.
    virtual bool IsEmptied(std::wstring_view folder) const = 0;
    virtual bool IsKeyGone(RootKey root, std::string_view subKey) const = 0;
    virtual bool IsValueGone(RootKey root, std::string_view subKey,
                             std::string_view value) const = 0;
    virtual bool IsSectionGone(std::wstring_view file, std::string_view section) const = 0;

    // Files and folders. isLink: the listing showed the item with the reparse-point attribute.
    virtual std::uint32_t ClearAttributes(const std::wstring& path) = 0;
    virtual std::uint32_t RemoveFile(const std::wstring& path, bool isLink) = 0;
    virtual std::uint32_t RemoveFolder(const std::wstring& path, bool isLink) = 0;
    virtual std::uint32_t MakeFolder(const std::wstring& path) = 0;
    virtual std::uint32_t DeleteAtReboot(const std::wstring& path) = 0;

    // Registry.
    virtual std::uint32_t DeleteKey(RootKey root, const std::string& subKey) = 0;
    virtual std::uint32_t DeleteTree(RootKey root, const std::string& subKey) = 0;
    virtual std::uint32_t DeleteValue(RootKey root, const std::string& subKey,
                                      const std::string& value) = 0;
    virtual std::uint32_t CreateKey(RootKey root, const std::string& subKey) = 0;
    virtual std::uint32_t SetString(RootKey root, const std::string& subKey,
                                    const std::string& name, const std::string& text) = 0;

    // Profile files; file is a full path in the ordinary form.
    virtual std::uint32_t RemoveIniSection(const std::string& file, const std::string& section) = 0;

    // Shell.
    virtual std::uint32_t Launch(const LaunchRequest& request) = 0;
    virtual std::uint32_t EmptyClipboard() = 0;
    virtual std::uint32_t EmptyRecycleBins() = 0;
    virtual std::uint32_t ClearRecentDocuments() = 0;
    // Empties Internet Explorer's URL history store.
    virtual std::uint32_t ClearUrlHistory() = 0;

    // Removes rows from an SQLite database and compacts it (engine/database_cleaning.h); path is
    // in the ordinary form. A dry run does it on a copy and tells what it would free.
    virtual DatabaseOutcome CleanDatabase(const std::string& path,
                                          const DatabaseCleaning& cleaning) = 0;
};

// overwriteFirst ("Enable Securely Cleaning"): each plain file is overwritten in place with one
// pass of random data before it is deleted; links are removed as links and never overwritten.
std::unique_ptr<Changes> MakeRealChanges(bool overwriteFirst = false);
std::unique_ptr<Changes> MakeDryRunChanges();

}  // namespace hm
