// The operations on adversarial trees: links out of the tree, names outside the ANSI code page,
// paths beyond MAX_PATH, and relative paths left behind by failed lookups.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>
#include <string>
#include <vector>

#include "engine/erase.h"
#include "engine/erase_recorder.h"
#include "platform/files.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using test::EraseRecorder;
using test::TempFolder;
using Paths = std::vector<std::string>;

// Made by scripts/make-link-fixture before the tests run: "tree" holds Linux directory
// symlinks (reparse points to Wine) that lead into "precious".
const std::string kFixture = "C:\\hm-link-fixture";
const std::string kTree = kFixture + "\\tree";
const std::string kPrecious = kFixture + "\\precious";
const std::string kPreciousEmpty = kFixture + "\\precious-empty";
const Paths kLinks{kTree + "\\cache\\link", kTree + "\\profile\\Cache\\link", kTree + "\\linkdir",
                   kTree + "\\cache2", kTree + "\\.hiddenlink", kTree + "\\emptylink"};

void ExpectPreciousIntact() {
    EXPECT_EQ(test::ListTree(kPrecious), (Paths{"a.tmp", "cache\\", "cache\\data", "inner\\",
                                                "inner\\places.sqlite", "places.sqlite"}));
    for (const char* file : {"a.tmp", "cache\\data", "inner\\places.sqlite", "places.sqlite"}) {
        EXPECT_EQ(test::ReadFileText(kPrecious + "\\" + file), "keep me\n") << file;
    }
    EXPECT_TRUE(test::FolderExists(kPreciousEmpty));
}

// Attributes set on what the links point at; no operation may change them. (Wine keeps no
// read-only attribute on folders.)
constexpr std::uint32_t kGuarded = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY;
const Paths kGuardedItems{kPrecious, kPrecious + "\\places.sqlite", kPrecious + "\\inner",
                          kPrecious + "\\inner\\places.sqlite", kPreciousEmpty};

std::uint32_t GuardedOf(const std::string& item) {
    const std::uint32_t attributes = test::AttributesOf(item);
    return attributes & ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FILE_ATTRIBUTE_HIDDEN
                                                                     : kGuarded);
}

// Every operation, aimed at the tree, at the links themselves and at folders holding links,
// with names that also exist behind the links.
void RunEverything(Eraser& eraser) {
    for (const std::string& folder :
         {kTree, kTree + "\\linkdir", kTree + "\\cache", kTree + "\\cache2", kTree + "\\profile",
          kTree + "\\cache\\link"}) {
        eraser.DeleteNamedFiles(folder, "places.sqlite");
        eraser.DeleteNamedFiles(folder, "data");
        eraser.DeleteFilesByExtension(folder, "tmp");
        eraser.DeleteNamedFolders(folder, "inner");
        eraser.DeleteNamedFolders(folder, "cache");
        eraser.DeleteNamedFolders(folder, "link");
        eraser.DeleteNamedFolders(folder, "linkdir");
        eraser.DeleteNamedFolders(folder, "cache2");
        eraser.DeleteFilesInFolder(folder);
        eraser.DeleteNamedFilesInFolder(folder, "places.sqlite");
        eraser.DeleteFilesByExtensionInFolder(folder, "tmp");
        eraser.DeleteFolderFiles(folder);
    }
    eraser.ResetFolder(kTree + "\\cache2");
    eraser.ResetFolder(kTree + "\\.hiddenlink");
    eraser.ResetFolder(kTree + "\\emptylink");
    eraser.ResetFolder(kTree + "\\profile\\Cache\\link");
    eraser.ResetFolder(kTree + "\\profile");
    eraser.ResetFolder(kTree);
}

void ExpectNothingReportedBehindALink(const EraseRecorder& recorder) {
    for (const Trace& trace : recorder.traces) {
        for (const std::string& link : kLinks) {
            EXPECT_NE(trace.path.rfind(link + "\\", 0), 0u) << trace.path;
        }
        EXPECT_EQ(trace.path.find("precious"), std::string::npos) << trace.path;
    }
}

TEST(EraseLinks, NoOperationReachesThroughALink) {
    ASSERT_TRUE(test::FolderExists(kPrecious)) << "the link fixture was not made";
    for (const std::string& link : kLinks) {
        ASSERT_NE(test::AttributesOf(link) & FILE_ATTRIBUTE_REPARSE_POINT, 0u) << link;
    }
    ExpectPreciousIntact();
    // Wine lists a dot-named link as hidden: the walk meets a hidden link it must not unhide.
    ASSERT_NE(test::AttributesOf(kTree + "\\.hiddenlink") & FILE_ATTRIBUTE_HIDDEN, 0u);
    for (const std::string& item : kGuardedItems) {
        test::SetAttributes(item, test::AttributesOf(item) | kGuarded);
        ASSERT_NE(GuardedOf(item) & FILE_ATTRIBUTE_HIDDEN, 0u) << item;
    }

    // Straight at a link, nothing is walked.
    Eraser probe(EraseMode::Preview);
    EXPECT_EQ(probe.DeleteFolderFiles(kTree + "\\linkdir"), 10000);
    EXPECT_EQ(probe.DeleteNamedFolders(kTree + "\\linkdir", "cache"), 10000);
    EXPECT_EQ(probe.DeleteFilesInFolder(kTree + "\\cache2"), 0);

    EraseRecorder preview;
    Eraser previewer(EraseMode::Preview, &preview);
    RunEverything(previewer);
    ExpectNothingReportedBehindALink(preview);
    // The walks did look at the tree: its own files and folders were reported.
    EXPECT_NE(preview.Find(kTree + "\\places.sqlite"), nullptr);
    EXPECT_NE(preview.Find(kTree + "\\cache"), nullptr);

    EraseRecorder erase;
    Eraser eraser(EraseMode::Erase, &erase);
    RunEverything(eraser);
    ExpectNothingReportedBehindALink(erase);
    EXPECT_FALSE(test::FileExists(kTree + "\\places.sqlite"));
    EXPECT_FALSE(test::FileExists(kTree + "\\cache\\f1"));
    ExpectPreciousIntact();
    for (const std::string& item : kGuardedItems) {
        const bool folder = (test::AttributesOf(item) & FILE_ATTRIBUTE_DIRECTORY) != 0;
        EXPECT_EQ(GuardedOf(item), folder ? FILE_ATTRIBUTE_HIDDEN : kGuarded) << item;
    }
    // The links stay: this system can open only what they point at, and a deletion through
    // such a handle would take the target.
    for (const std::string& link : kLinks) {
        const Trace* trace = erase.Find(link);
        if (trace != nullptr) {
            EXPECT_EQ(trace->outcome, Outcome::Failed) << link;
        }
    }
}

// Attribute changes and deletions go through a handle of the item itself; one that the system
// could only open as the link's target is refused.
TEST(EraseLinks, ThePlatformRefusesToChangeALinkItCannotOpenAsItself) {
    ASSERT_TRUE(test::FolderExists(kPreciousEmpty)) << "the link fixture was not made";
    const std::wstring link = files::ToLongPath(kTree + "\\emptylink");
    test::SetAttributes(kPreciousEmpty, FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(files::ClearAttributes(link), files::kErrorLinkNotAddressable);
    files::DeletionCandidate candidate;
    EXPECT_EQ(candidate.Open(link, true), files::kErrorLinkNotAddressable);
    EXPECT_TRUE(test::FolderExists(kPreciousEmpty));
    EXPECT_NE(test::AttributesOf(kPreciousEmpty) & FILE_ATTRIBUTE_HIDDEN, 0u);

    // An ordinary hidden, read-only file is changed through its own handle.
    TempFolder dir;
    test::WriteFileOfSize(dir / "f", 1);
    test::SetAttributes(dir / "f", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(files::ClearAttributes(files::ToLongPath(dir / "f")), 0u);
    EXPECT_EQ(test::AttributesOf(dir / "f") & kGuarded, 0u);
}

// Made by scripts/make-link-fixture: "Cache" and "cache" side by side, a pipe, and names with
// characters Windows reserves.
const std::string kOdd = "C:\\hm-odd-fixture";

std::vector<std::tuple<int, std::string, double, int>> Outcomes(const EraseRecorder& recorder) {
    std::vector<std::tuple<int, std::string, double, int>> summary;
    for (const Trace& trace : recorder.traces) {
        summary.emplace_back(static_cast<int>(trace.kind), trace.path, trace.bytes,
                             static_cast<int>(trace.outcome));
    }
    std::sort(summary.begin(), summary.end());
    return summary;
}

// The preview says what the clean will do with entries it cannot remove, and lists folders whose
// names differ only in letter case each on its own.
TEST(EraseNames, PreviewForeseesWhatCannotGoAndTellsCaseTwinsApart) {
    ASSERT_TRUE(test::FolderExists(kOdd)) << "the odd-names fixture was not made";
    EraseRecorder preview;
    Eraser previewer(EraseMode::Preview, &preview);
    const double predictedFolders = previewer.DeleteNamedFolders(kOdd, "cache");
    const double predictedFiles = previewer.DeleteFilesInFolder(kOdd);
    EXPECT_EQ(preview.Paths(TraceKind::Folder), (Paths{kOdd + "\\Cache", kOdd + "\\cache"}));
    EXPECT_EQ(preview.Paths(TraceKind::File), (Paths{kOdd + "\\plain"}));
    // The pipe and the two reserved names would stay.
    EXPECT_EQ(preview.Paths(TraceKind::File, false).size(), 3u);

    EraseRecorder erase;
    Eraser eraser(EraseMode::Erase, &erase);
    EXPECT_EQ(eraser.DeleteNamedFolders(kOdd, "cache"), predictedFolders);
    EXPECT_EQ(eraser.DeleteFilesInFolder(kOdd), predictedFiles);
    EXPECT_EQ(Outcomes(erase), Outcomes(preview));
    EXPECT_EQ(test::ListTree(kOdd).size(), 3u);
}

TEST(EraseNames, NamesOutsideTheAnsiCodePageAreFoundCountedAndDeleted) {
    TempFolder dir;
    test::WriteFileOfSize(dir / "Привет.txt", 1);
    test::WriteFileOfSize(dir / "日本語.tmp", 2);
    test::WriteFileOfSize(dir / "😀 emoji.dat", 4);
    test::WriteFileOfSize(dir / "папка\\文件.txt", 8);
    test::WriteFileOfSize(dir / "папка\\😀 emoji.dat", 16);

    EraseRecorder recorder;
    Eraser eraser(EraseMode::Erase, &recorder);
    EXPECT_EQ(eraser.DeleteNamedFiles(dir.path(), "😀 emoji.dat"), 10004);
    EXPECT_EQ(eraser.DeleteFilesByExtension(dir.path(), "tmp"), 10002);
    EXPECT_EQ(test::ListTree(dir.path()), (Paths{"Привет.txt", "папка\\", "папка\\文件.txt"}));
    EXPECT_EQ(eraser.DeleteFolderFiles(dir.path()), 10001);
    EXPECT_EQ(test::ListTree(dir.path()), (Paths{"папка\\"}));
    EXPECT_EQ(recorder.Paths(TraceKind::File),
              (Paths{dir / "Привет.txt", dir / "папка\\文件.txt", dir / "папка\\😀 emoji.dat",
                     dir / "日本語.tmp", dir / "😀 emoji.dat"}));
}

TEST(EraseLongPaths, TreesBeyondMaxPathAreWalkedAndRemoved) {
    TempFolder dir;
    std::string deep = dir.path();
    for (char c = 'a'; c < 'f'; ++c) {
        deep += "\\" + std::string(60, c);
    }
    ASSERT_GT(deep.size(), 300u);
    test::WriteFileOfSize(dir / "top.bin", 1);
    test::WriteFileOfSize(deep + "\\f.bin", 10);
    test::WriteFileOfSize(deep + "\\cache\\g.bin", 30);
    test::WriteFileOfSize(deep + "\\файл-😀.tmp", 20);

    EraseRecorder recorder;
    Eraser eraser(EraseMode::Erase, &recorder);
    EXPECT_EQ(eraser.DeleteFilesByExtensionInFolder(deep, "tmp"), 20);
    EXPECT_EQ(eraser.DeleteNamedFolders(dir.path(), "cache"), 10000);
    EXPECT_FALSE(test::FolderExists(deep + "\\cache"));
    EXPECT_EQ(eraser.DeleteFolderFiles(dir.path()), 10001);
    EXPECT_FALSE(test::FileExists(deep + "\\f.bin"));
    EXPECT_NE(recorder.Find(deep + "\\f.bin"), nullptr);
    EXPECT_NE(recorder.Find(deep + "\\файл-😀.tmp"), nullptr);

    test::WriteFileOfSize(deep + "\\again.bin", 7);
    EXPECT_EQ(eraser.ResetFolder(dir / std::string(60, 'a')), 7);
    EXPECT_EQ(test::ListTree(dir.path()), (Paths{std::string(60, 'a') + "\\"}));
}

TEST(EraseLongPaths, PathsAreNormalisedBeforeUse) {
    TempFolder dir;
    test::WriteFileOfSize(dir / "y\\n.txt", 4);
    test::WriteFileOfSize(dir / "y\\m.txt", 8);
    EraseRecorder recorder;
    Eraser eraser(EraseMode::Erase, &recorder);
    EXPECT_EQ(eraser.DeleteNamedFilesInFolder(dir.path() + "\\x\\..\\y\\", "n.txt"), 4);
    EXPECT_EQ(eraser.DeleteFilesInFolder(dir.path() + "/y"), 8);
    EXPECT_TRUE(test::ListTree(dir / "y").empty());
    EXPECT_EQ(recorder.Paths(TraceKind::File), (Paths{dir / "y\\m.txt", dir / "y\\n.txt"}));
}

TEST(EraseRelativePaths, PathsFromFailedLookupsOrHoldingANulChangeNothing) {
    TempFolder dir;
    test::CurrentFolderGuard current(dir.path());
    test::WriteFileOfSize(dir / "Error\\Mozilla\\Firefox\\Profiles\\p\\places.sqlite", 10);
    test::WriteFileOfSize(dir / "Error\\Mozilla\\Firefox\\Profiles\\p\\cache\\x.tmp", 10);
    test::WriteFileOfSize(dir / "Error\\top.tmp", 10);
    test::WriteFileText(dir / "Error\\settings.ini", "[Gone]\r\na=1\r\n");
    test::WriteFileOfSize(dir / "existing\\keep.txt", 10);
    const Paths before = test::ListTree(dir.path());

    // "\users\...\hm-test-..." names this very folder from the root of the current drive, and
    // "C:Error" names Error below the current folder of drive C.
    const std::string fromRoot = dir.path().substr(2);
    const std::string onDrive = dir.path().substr(0, 2) + "Error";
    // The system would read only up to the NUL: the folder itself, or the drive's root.
    const std::string nul(1, '\0');
    const std::string cutToFolder = dir.path() + nul + "\\Error";
    const std::string cutToRoot = dir.path().substr(0, 3) + nul + dir.path().substr(3);
    EraseRecorder recorder;
    Eraser eraser(EraseMode::Erase, &recorder);
    for (const std::string& folder :
         {std::string("Error\\Mozilla\\Firefox\\Profiles"), std::string("Error"),
          std::string(".\\Error"), std::string("."), std::string(), fromRoot, fromRoot + "\\Error",
          onDrive, std::string("existing"), cutToFolder, cutToRoot}) {
        SCOPED_TRACE(folder);
        EXPECT_EQ(eraser.DeleteFolderFiles(folder), 10000);
        EXPECT_EQ(eraser.DeleteNamedFiles(folder, "places.sqlite"), 10000);
        EXPECT_EQ(eraser.DeleteFilesByExtension(folder, "tmp"), 10000);
        EXPECT_EQ(eraser.DeleteNamedFolders(folder, "cache"), 10000);
        EXPECT_EQ(eraser.DeleteFilesInFolder(folder), 0);
        EXPECT_EQ(eraser.DeleteNamedFilesInFolder(folder, "top.tmp"), 0);
        EXPECT_EQ(eraser.DeleteFilesByExtensionInFolder(folder, "tmp"), 0);
        EXPECT_EQ(eraser.ResetFolder(folder), 0);
        eraser.DeleteIniSection(folder + "\\settings.ini", "Gone");
        eraser.DeleteAtReboot(folder + "\\top.tmp");
    }
    EXPECT_EQ(eraser.ResetFolder("Favorites"), 0);
    EXPECT_EQ(test::ListTree(dir.path()), before);
    EXPECT_EQ(test::ReadFileText(dir / "Error\\settings.ini"), "[Gone]\r\na=1\r\n");
    EXPECT_TRUE(recorder.traces.empty());
}

}  // namespace
}  // namespace hm
