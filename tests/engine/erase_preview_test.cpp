// Preview must answer exactly what Erase then does, and change nothing on the way.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "engine/erase.h"
#include "engine/erase_recorder.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using test::EraseRecorder;
using test::TempFolder;

// A tree with something for every rule: attributes, names in several cases, nested matches,
// read-only items inside folders that go.
void BuildMixedTree(const TempFolder& dir) {
    test::WriteFileOfSize(dir / "places.sqlite", 100);
    test::WriteFileOfSize(dir / "a.tmp", 10);
    test::WriteFileOfSize(dir / "B.TMP", 20);
    test::SetAttributes(dir / "B.TMP", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    test::WriteFileOfSize(dir / "ro.txt", 30);
    test::SetAttributes(dir / "ro.txt", FILE_ATTRIBUTE_READONLY);
    test::WriteFileOfSize(dir / "hidden.txt", 40);
    test::SetAttributes(dir / "hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    test::WriteFileOfSize(dir / "cache\\data", 200);
    test::WriteFileOfSize(dir / "cache\\cache\\nested.tmp", 300);
    test::WriteFileOfSize(dir / "cache\\ro", 5);
    test::SetAttributes(dir / "cache\\ro", FILE_ATTRIBUTE_READONLY);
    test::WriteFileOfSize(dir / "p1\\places.sqlite", 1000);
    test::WriteFileOfSize(dir / "p1\\Cache\\x.tmp", 2000);
    test::WriteFileOfSize(dir / "p1\\Cache\\sub\\y", 3000);
    test::SetAttributes(dir / "p1", FILE_ATTRIBUTE_HIDDEN);
    test::WriteFileOfSize(dir / "p2\\deep\\places.sqlite", 4000);
    test::WriteFileOfSize(dir / "p2\\deep\\z.Tmp", 5000);
    test::MakeFolders(dir / "p2\\empty");
}

// Everything below the folder with its attributes, so that an attribute change shows too.
std::vector<std::tuple<std::string, std::uint32_t>> Snapshot(const TempFolder& dir) {
    std::vector<std::tuple<std::string, std::uint32_t>> state;
    state.emplace_back(".", test::AttributesOf(dir.path()));
    for (const std::string& path : test::ListTree(dir.path())) {
        state.emplace_back(path, test::AttributesOf(dir / path));
    }
    return state;
}

std::vector<std::tuple<int, std::string, double, bool>> Summary(const EraseRecorder& recorder) {
    std::vector<std::tuple<int, std::string, double, bool>> summary;
    for (const Trace& trace : recorder.traces) {
        summary.emplace_back(static_cast<int>(trace.kind), trace.path, trace.bytes, trace.removed());
    }
    std::sort(summary.begin(), summary.end());
    return summary;
}

struct Case {
    const char* name;
    std::function<double(Eraser&, const std::string&)> run;
};

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases{
        {"DeleteFolderFiles",
         [](Eraser& e, const std::string& f) { return e.DeleteFolderFiles(f); }},
        {"DeleteNamedFiles",
         [](Eraser& e, const std::string& f) { return e.DeleteNamedFiles(f, "places.sqlite"); }},
        {"DeleteFilesByExtension",
         [](Eraser& e, const std::string& f) { return e.DeleteFilesByExtension(f, "tmp"); }},
        {"DeleteNamedFolders",
         [](Eraser& e, const std::string& f) { return e.DeleteNamedFolders(f, "cache"); }},
        {"ResetFolder", [](Eraser& e, const std::string& f) { return e.ResetFolder(f); }},
        {"DeleteFilesInFolder",
         [](Eraser& e, const std::string& f) { return e.DeleteFilesInFolder(f); }},
        {"DeleteNamedFilesInFolder",
         [](Eraser& e, const std::string& f) {
             return e.DeleteNamedFilesInFolder(f, "places.sqlite");
         }},
        {"DeleteFilesByExtensionInFolder",
         [](Eraser& e, const std::string& f) {
             return e.DeleteFilesByExtensionInFolder(f, "tmp");
         }},
    };
    return cases;
}

TEST(ErasePreview, EveryFileOperationPredictsItsErase) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        BuildMixedTree(dir);
        const auto before = Snapshot(dir);

        EraseRecorder preview;
        Eraser previewer(EraseMode::Preview, &preview);
        const double predicted = c.run(previewer, dir.path());
        EXPECT_EQ(Snapshot(dir), before);
        EXPECT_FALSE(preview.traces.empty());

        EraseRecorder erase;
        Eraser eraser(EraseMode::Erase, &erase);
        EXPECT_EQ(c.run(eraser, dir.path()), predicted);
        EXPECT_EQ(Summary(erase), Summary(preview));
        EXPECT_EQ(erase.yields, preview.yields);
        EXPECT_NE(Snapshot(dir), before);
        // What was reported removed is gone (a reset folder comes back, empty).
        for (const Trace& trace : erase.traces) {
            if (trace.removed() && trace.path != dir.path()) {
                EXPECT_FALSE(test::FileExists(trace.path) || test::FolderExists(trace.path))
                    << trace.path;
            }
        }
    }
}

TEST(ErasePreview, NamedFoldersReportsEachRemovedFolderOnceWithItsWholeSize) {
    TempFolder dir;
    BuildMixedTree(dir);
    EraseRecorder recorder;
    Eraser previewer(EraseMode::Preview, &recorder);
    // Top-level matches only: "cache" (505 bytes); "p1\Cache" is deeper.
    EXPECT_EQ(previewer.DeleteNamedFolders(dir.path(), "cache"), 10505);

    // "cache\cache" is inside a folder that goes, so it is not searched for again, and the
    // read-only file keeps its folder.
    const Trace* top = recorder.Find(dir / "cache");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->bytes, 505);
    EXPECT_FALSE(top->removed());
    EXPECT_EQ(recorder.Find(dir / "cache\\cache"), nullptr);
    const Trace* deeper = recorder.Find(dir / "p1\\Cache");
    ASSERT_NE(deeper, nullptr);
    EXPECT_EQ(deeper->bytes, 5000);
    EXPECT_TRUE(deeper->removed());
    EXPECT_EQ(recorder.Paths(TraceKind::File, false),
              (std::vector<std::string>{dir / "cache\\ro"}));
    EXPECT_EQ(recorder.traces.size(), 3u);
}

TEST(ErasePreview, ResetFolderMakesNothingCountsWithoutObserverAndRefusesRoots) {
    TempFolder dir;
    Eraser previewer(EraseMode::Preview);
    EXPECT_EQ(previewer.ResetFolder(dir / "missing"), 0);
    EXPECT_FALSE(test::FolderExists(dir / "missing"));

    BuildMixedTree(dir);
    const auto before = Snapshot(dir);
    EXPECT_EQ(previewer.ResetFolder(dir.path()), 15705);
    EXPECT_EQ(Eraser(EraseMode::Preview).DeleteFolderFiles(dir.path()), 10200);
    EXPECT_EQ(Snapshot(dir), before);

    // A drive root can never go itself, so resetting one is refused outright.
    EraseRecorder recorder;
    Eraser watched(EraseMode::Preview, &recorder);
    EXPECT_EQ(watched.ResetFolder("C:\\"), 0);
    EXPECT_EQ(watched.ResetFolder("C:\\."), 0);
    EXPECT_TRUE(recorder.traces.empty());
}

// One eraser serves a whole pass. Its preview must remember what earlier steps would have
// removed, or a previewed pass reports (and counts) the same file once per item that names it.
void RunSequence(Eraser& eraser, const TempFolder& dir, const std::string& key,
                 std::vector<double>& results) {
    results.push_back(eraser.DeleteNamedFiles(dir.path(), "places.sqlite"));
    results.push_back(eraser.DeleteNamedFiles(dir.path(), "places.sqlite"));
    results.push_back(eraser.DeleteNamedFolders(dir.path(), "cache"));
    results.push_back(eraser.DeleteFolderFiles(dir / "p1\\Cache"));
    results.push_back(eraser.DeleteFilesByExtension(dir.path(), "tmp"));
    results.push_back(eraser.ResetFolder(dir / "p2"));
    results.push_back(eraser.DeleteFolderFiles(dir / "p2"));
    results.push_back(eraser.ResetFolder(dir / "p2\\deep"));
    results.push_back(eraser.DeleteNamedFilesInFolder(dir.path(), "places.sqlite"));
    eraser.DeleteIniSection(dir / "settings.ini", "Recent");
    eraser.DeleteIniSection(dir / "settings.ini", "Recent");
    results.push_back(eraser.DeleteRegTree(kCurrentUser, key + "\\Tree"));
    results.push_back(eraser.DeleteRegValue(kCurrentUser, key + "\\Tree\\Sub", "v"));
    results.push_back(eraser.DeleteRegKey(kCurrentUser, key + "\\Tree\\Sub"));
    results.push_back(eraser.DeleteRegValue(kCurrentUser, key, "w"));
    results.push_back(eraser.DeleteRegValue(kCurrentUser, key, "w"));
}

TEST(ErasePreview, APreviewedSequenceFindsWhatTheRealSequenceFinds) {
    TempFolder dir;
    test::TempRegKey key;
    BuildMixedTree(dir);
    test::WriteFileText(dir / "settings.ini", "[Recent]\r\nFile1=a\r\n[Other]\r\nx=1\r\n");
    test::SetRegText(key.subKey() + "\\Tree\\Sub", "v", "1");
    test::SetRegText(key.subKey(), "w", "2");
    const auto before = Snapshot(dir);
    const std::string iniBefore = test::ReadFileText(dir / "settings.ini");

    EraseRecorder preview;
    std::vector<double> predicted;
    {
        Eraser previewer(EraseMode::Preview, &preview);
        RunSequence(previewer, dir, key.subKey(), predicted);
    }
    EXPECT_EQ(Snapshot(dir), before);
    EXPECT_EQ(test::ReadFileText(dir / "settings.ini"), iniBefore);
    EXPECT_TRUE(test::RegValueExists(key.subKey() + "\\Tree\\Sub", "v"));
    EXPECT_TRUE(test::RegValueExists(key.subKey(), "w"));

    EraseRecorder erase;
    std::vector<double> actual;
    {
        Eraser eraser(EraseMode::Erase, &erase);
        RunSequence(eraser, dir, key.subKey(), actual);
    }
    EXPECT_EQ(actual, predicted);
    EXPECT_EQ(Summary(erase), Summary(preview));
    // Each thing is reported once: the second pass over the same names finds nothing.
    const std::vector<std::string> files = preview.Paths(TraceKind::File);
    EXPECT_EQ(files.size(), std::set<std::string>(files.begin(), files.end()).size());
    EXPECT_EQ(preview.Paths(TraceKind::IniSection).size(), 1u);
    EXPECT_EQ(preview.Paths(TraceKind::RegistryTree).size(), 1u);
    EXPECT_TRUE(preview.Paths(TraceKind::RegistryValue).size() == 1u);
    EXPECT_TRUE(preview.Paths(TraceKind::RegistryKey).empty());
    EXPECT_FALSE(test::RegValueExists(key.subKey() + "\\Tree\\Sub", "v"));
    EXPECT_FALSE(test::RegValueExists(key.subKey(), "w"));
}

}  // namespace
}  // namespace hm
