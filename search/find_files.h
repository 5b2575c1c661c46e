// FindFiles: one search below a folder, breadth first, for the search window and the command
// line alike. What it finds and where it is goes to a sink; the sink also lets window events run
// and says when the user asked to stop.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace hm::search {

struct FoundEntry {
    std::string text;       // as the list shows it
    std::wstring longPath;  // the file itself ("\\?\" form), for deleting it
};

class SearchSink {
public:
    virtual ~SearchSink() = default;
    // The search begins: the window's second button becomes "&Stop".
    virtual void SearchStarted() {}
    // Asked at each folder, so that a change during the search counts from the next folder on.
    virtual bool IncludeSubFolders() = 0;
    // The folder now searched (ends with "\").
    virtual void SearchingFolder(const std::string&) {}
    // Called at each folder and every few hundred files; the window lets its events run here.
    virtual void LetEventsRun() {}
    virtual bool StopRequested() { return false; }
    virtual void EntryFound(const FoundEntry& entry) = 0;
    // Only a search that ran to its end has a summary.
    virtual void SearchFinished(const std::string&) {}
};

enum class SearchEnd {
    NoPatterns,  // the pattern text was empty: nothing happened
    Stopped,
    Completed,
};

// Searches the folder, and its sub-folders when the sink says so, for files whose names the
// patterns of the text (";"-separated) find. Folders that are links (junctions, symbolic links,
// mount points) are never entered: their contents belong to another tree. A folder that cannot
// be read contributes nothing.
SearchEnd FindFiles(std::string_view root, std::string_view patternText, SearchSink& sink);

// The file's last-modified time as the system's general date text ("12/8/2026 9:41:07 AM"; the
// date alone at midnight); empty when it cannot be read.
std::string FileDateText(const std::wstring& longPath);

}  // namespace hm::search
