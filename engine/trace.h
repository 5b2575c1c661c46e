// What the erase operations tell an observer: each thing they removed, tried to remove and could
// not, or (in a preview) would remove; each program they started, and each other change.
#pragma once

#include <cstdint>
#include <string>

namespace hm {

enum class TraceKind {
    File,
    Folder,
    RegistryKey,
    RegistryTree,
    RegistryValue,
    RegistryWrite,  // a key made or a string value written
    IniSection,
    RebootDelete,
    Process,        // a program started; path holds its command line
    Clipboard,
    RecycleBin,
    RecentDocuments,
    UrlHistory,
    DatabaseRows,   // rows removed from a database file, which stays; bytes: what it shrank by
};

enum class Outcome {
    Removed,     // done (or, in a preview, would be done)
    KeptByRule,  // left in place on purpose: a read-only item the deletion kind leaves, a key
                 // with sub-keys that a key deletion leaves
    KeptWithContents,  // a folder that stays because something inside it stays, which has
                       // been reported itself
    Failed,      // the system refused: in use, access denied, a name it cannot use, ...
};

struct Trace {
    TraceKind kind = TraceKind::File;
    std::string path;  // file or folder path; "HKEY_...\sub\key" for registry; profile file path;
                       // the command line of a started program
    std::string name;  // registry value name or profile section; empty otherwise
    double bytes = 0;  // file size, or a folder's whole-tree size
    Outcome outcome = Outcome::Removed;
    std::uint32_t error = 0;  // system error code when not done

    bool removed() const { return outcome == Outcome::Removed; }
};

class EraseObserver {
public:
    virtual ~EraseObserver() = default;
    virtual void OnTrace(const Trace& trace) = 0;
    // Where an operation lets pending window events run.
    virtual void OnYield() {}
};

// Errors that mean another program holds the item open (sharing and lock violations).
inline bool IsInUseError(std::uint32_t error) {
    return error == 32 || error == 33;
}

}  // namespace hm
