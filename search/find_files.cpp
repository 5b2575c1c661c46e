#include "search/find_files.h"

#include <windows.h>

#include <vector>

#include "platform/files.h"
#include "platform/text.h"
#include "search/search_rules.h"

namespace hm::search {
namespace {

// Window events get a turn after this many entries of one folder, so that "&Stop" answers
// quickly even in a folder of many thousand files.
constexpr std::size_t kEntriesBetweenEvents = 256;

struct FolderListing {
    std::vector<std::string> names;  // files, UTF-8
    std::vector<std::wstring> wideNames;
    std::vector<std::uint64_t> sizes;
    std::vector<std::wstring> subFolders;
};

void ListFolder(const std::wstring& folder, SearchSink& sink, FolderListing& listing) {
    files::FolderScan scan(folder);
    std::size_t seen = 0;
    while (scan.Next()) {
        if (++seen % kEntriesBetweenEvents == 0) {
            sink.LetEventsRun();
        }
        if (scan.IsFolder()) {
            if (!scan.IsLink()) {
                listing.subFolders.emplace_back(scan.name());
            }
            continue;
        }
        listing.wideNames.emplace_back(scan.name());
        listing.names.push_back(Narrow(scan.name()));
        listing.sizes.push_back(scan.size());
    }
}

}  // namespace

std::string FileDateText(const std::wstring& longPath) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    SYSTEMTIME utc;
    SYSTEMTIME local;
    if (!GetFileAttributesExW(longPath.c_str(), GetFileExInfoStandard, &data) ||
        !FileTimeToSystemTime(&data.ftLastWriteTime, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
        return {};
    }
    wchar_t date[128] = {};
    wchar_t time[128] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 128);
    if (local.wHour == 0 && local.wMinute == 0 && local.wSecond == 0) {
        return Narrow(date);
    }
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &local, nullptr, time, 128);
    return Narrow(date) + " " + Narrow(time);
}

SearchEnd FindFiles(std::string_view root, std::string_view patternText, SearchSink& sink) {
    if (patternText.empty()) {
        return SearchEnd::NoPatterns;
    }
    sink.SearchStarted();
    PatternSet patterns(patternText);
    std::size_t entries = 0;
    std::uint64_t totalBytes = 0;
    std::size_t sinceEvents = 0;

    // Long paths in the queue; each folder is shown as a path people read, ending with "\".
    std::vector<std::wstring> queue;
    const std::wstring rootPath = files::ToLongPath(root);
    if (!rootPath.empty()) {
        queue.push_back(rootPath);
    }
    for (std::size_t index = 0; index < queue.size(); ++index) {
        sink.LetEventsRun();
        // Also here and not only after files, so that a tree of empty folders stops too.
        if (sink.StopRequested()) {
            return SearchEnd::Stopped;
        }
        const std::wstring folder = queue[index];
        FolderListing listing;
        ListFolder(folder, sink, listing);
        if (sink.IncludeSubFolders()) {
            for (const std::wstring& name : listing.subFolders) {
                queue.push_back(folder + L"\\" + name);
            }
        }
        const std::string shown = AddBackslash(files::ToDisplayPath(folder));
        sink.SearchingFolder(shown);
        sink.LetEventsRun();

        const auto onHit = [&](const PatternSet::Hit& hit) {
            FoundEntry entry;
            entry.longPath = folder + L"\\" + listing.wideNames[hit.file];
            if (hit.exactName) {
                entry.text = shown + patterns.patterns()[hit.pattern].text;
            } else {
                const std::uint64_t size = listing.sizes[hit.file];
                entry.text = WildcardEntry(shown + listing.names[hit.file], size,
                                           FileDateText(entry.longPath));
                totalBytes += size;
            }
            ++entries;
            sink.EntryFound(entry);
        };
        const auto stopRequested = [&] {
            if (++sinceEvents % kEntriesBetweenEvents == 0) {
                sink.LetEventsRun();
            }
            return sink.StopRequested();
        };
        if (!patterns.ScanFolder(shown, listing.names, onHit, stopRequested)) {
            return SearchEnd::Stopped;
        }
    }
    sink.SearchFinished(patterns.Summary(entries, totalBytes));
    return SearchEnd::Completed;
}

}  // namespace hm::search
