// FindFiles on real folders of the Wine sandbox, with a sink that records what a window would
// show. Files within one folder come in the file system's order, so the checks compare sets per
// folder level and order only across levels.
#include "search/find_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/text.h"
#include "support/sandbox.h"

namespace hm::search {
namespace {

using Lines = std::vector<std::string>;

class RecordingSink : public SearchSink {
public:
    bool IncludeSubFolders() override { return subFolders; }
    void SearchStarted() override { ++started; }
    void SearchingFolder(const std::string& folder) override { folders.push_back(folder); }
    bool StopRequested() override { return stop && stop(); }
    void EntryFound(const FoundEntry& entry) override {
        entries.push_back(entry.text);
        paths.push_back(entry.longPath);
    }
    void SearchFinished(const std::string& text) override { summary = text; }

    // The entries' paths (the text before the size), sorted.
    Lines Paths() const {
        Lines out;
        for (const std::string& entry : entries) {
            out.push_back(entry.substr(0, entry.find("   Size:")));
        }
        std::sort(out.begin(), out.end());
        return out;
    }

    bool subFolders = true;
    std::function<bool()> stop;
    int started = 0;
    Lines folders;
    Lines entries;
    std::vector<std::wstring> paths;
    std::string summary;
};

class FindFilesTest : public ::testing::Test {
protected:
    std::string Root() const { return tree.path() + "\\"; }
    void Make(const Lines& files) {
        for (const std::string& file : files) {
            test::WriteFileText(tree / file, "x");
        }
    }
    SearchEnd Run(const std::string& patterns) { return FindFiles(tree.path(), patterns, sink); }

    test::TempFolder tree;
    RecordingSink sink;
};

TEST_F(FindFilesTest, FoldersAreSearchedBreadthFirstAndOnlyTheRootWithoutSubFolders) {
    Make({"x\\deep\\a.tmp", "y\\b.tmp", "c.tmp"});
    Run("*.tmp");
    ASSERT_EQ(sink.folders.size(), 4u);
    EXPECT_EQ(sink.folders[0], Root());
    EXPECT_EQ(sink.folders[3], Root() + "x\\deep\\");
    EXPECT_EQ(sink.entries.back().substr(0, sink.entries.back().find("   ")),
              Root() + "x\\deep\\a.tmp");

    RecordingSink flat;
    flat.subFolders = false;
    FindFiles(tree.path(), "*.tmp", flat);
    EXPECT_EQ(flat.folders, (Lines{Root()}));
    EXPECT_EQ(flat.Paths(), (Lines{Root() + "c.tmp"}));
}

TEST_F(FindFilesTest, EntriesShowSizeAndDateAndTheTotalIsInKilobytes) {
    test::WriteFileOfSize(tree / "big.tmp", 1500);
    test::WriteFileOfSize(tree / "small.tmp", 700);
    Run("*.tmp");
    ASSERT_EQ(sink.entries.size(), 2u);
    for (const std::string& entry : sink.entries) {
        const bool big = entry.find("big.tmp") != std::string::npos;
        const std::string path = Root() + (big ? "big.tmp" : "small.tmp");
        EXPECT_EQ(entry, path + "   Size:" + (big ? "1500" : "700") +
                             "   LastModyfied:" + FileDateText(Widen("\\\\?\\" + path)));
    }
    EXPECT_EQ(sink.summary.substr(sink.summary.find("\r\n")), "\r\nTotal size: 2.2kb");
}

TEST_F(FindFilesTest, DatesReadAsTheSystemWritesThem) {
    if (GetUserDefaultLCID() != 0x409) {
        GTEST_SKIP() << "not an English (United States) locale";
    }
    Make({"noon.tmp", "midnight.tmp"});
    const auto setTime = [&](const std::string& name, WORD hour, WORD minute, WORD second) {
        SYSTEMTIME local = {2024, 3, 0, 5, hour, minute, second, 0};
        SYSTEMTIME utc;
        FILETIME time;
        TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc);
        SystemTimeToFileTime(&utc, &time);
        HANDLE file = CreateFileW(Widen(tree / name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        SetFileTime(file, nullptr, nullptr, &time);
        CloseHandle(file);
    };
    setTime("noon.tmp", 14, 7, 9);
    setTime("midnight.tmp", 0, 0, 0);
    EXPECT_EQ(FileDateText(Widen("\\\\?\\" + (tree / "noon.tmp"))), "3/5/2024 2:07:09 PM");
    EXPECT_EQ(FileDateText(Widen("\\\\?\\" + (tree / "midnight.tmp"))), "3/5/2024");
    EXPECT_EQ(FileDateText(Widen("\\\\?\\" + (tree / "gone.tmp"))), "");
}

TEST_F(FindFilesTest, AnExactNameIsListedOnceAtTheFirstLevelHoldingItWithoutSize) {
    Make({"a\\Thumbs.db", "a\\b\\Thumbs.db", "c\\thumbs.DB", "c\\d\\e\\Thumbs.db", "f.tmp"});
    Run("*.tmp;Thumbs.db");
    ASSERT_EQ(sink.entries.size(), 2u);
    const std::string exact =
        sink.entries[0].find("Thumbs") != std::string::npos ? sink.entries[0] : sink.entries[1];
    EXPECT_TRUE(exact == Root() + "a\\Thumbs.db" || exact == Root() + "c\\Thumbs.db") << exact;
    EXPECT_NE(sink.summary.find("    Thumbs.db - 1\r\n"), std::string::npos) << sink.summary;
    EXPECT_NE(sink.summary.find("Total size: 0.001kb"), std::string::npos) << sink.summary;
    // The entry holds the file itself, so it can be deleted.
    const auto at = std::find(sink.entries.begin(), sink.entries.end(), exact);
    const std::wstring path = sink.paths[static_cast<std::size_t>(at - sink.entries.begin())];
    EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FindFilesTest, LinkedFoldersAreNeverEntered) {
    const std::string fixture = "C:\\hm-link-fixture";
    if (!test::FolderExists(fixture + "\\tree\\linkdir")) {
        GTEST_SKIP() << "the link fixture was not made";
    }
    // The tree's own file, which the erase tests over the same fixture may have taken.
    test::WriteFileText(fixture + "\\tree\\cache\\f1", "junk");
    FindFiles(fixture + "\\tree", "*", sink);
    const auto below = [&](const std::string& path) { return path.substr(fixture.size()); };
    for (const std::string& folder : sink.folders) {
        EXPECT_EQ(below(folder).find("link"), std::string::npos) << folder;
        EXPECT_EQ(below(folder).find("cache2"), std::string::npos) << folder;
    }
    // Every file behind the links is one of "precious"; the tree's own files are listed.
    for (const std::string& path : sink.Paths()) {
        EXPECT_EQ(below(path).find("link"), std::string::npos) << path;
        EXPECT_EQ(below(path).find("inner"), std::string::npos) << path;
        EXPECT_EQ(below(path).find("a.tmp"), std::string::npos) << path;
    }
    const Lines found = sink.Paths();
    EXPECT_NE(std::find(found.begin(), found.end(), fixture + "\\tree\\cache\\f1"), found.end());
    EXPECT_FALSE(sink.entries.empty());
}

TEST_F(FindFilesTest, StopEndsTheSearchWithoutSummaryEvenAmongEmptyFolders) {
    for (int index = 0; index < 30; ++index) {
        test::MakeFolders(tree / ("empty" + std::to_string(index)));
    }
    Make({"a.tmp"});
    sink.stop = [&] { return sink.folders.size() >= 3; };
    EXPECT_EQ(Run("*.tmp"), SearchEnd::Stopped);
    EXPECT_EQ(sink.folders.size(), 3u);
    EXPECT_EQ(sink.summary, "");
}

TEST_F(FindFilesTest, AnEmptyPatternTextDoesNothingAndAMissingFolderFindsNothing) {
    Make({"a.tmp"});
    EXPECT_EQ(Run(""), SearchEnd::NoPatterns);
    EXPECT_EQ(sink.started, 0);
    EXPECT_TRUE(sink.folders.empty());

    RecordingSink missing;
    EXPECT_EQ(FindFiles(tree / "nowhere", "*.tmp", missing), SearchEnd::Completed);
    EXPECT_TRUE(missing.entries.empty());
    EXPECT_EQ(missing.summary, "0  Files Found      .tmp - 0\r\nTotal size: 0kb");
}

}  // namespace
}  // namespace hm::search
