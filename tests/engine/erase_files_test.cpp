// What each file operation selects, how deep it goes, how it deletes and what it returns.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/erase.h"
#include "engine/erase_recorder.h"
#include "platform/text.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using test::EraseRecorder;
using test::TempFolder;
using Paths = std::vector<std::string>;

constexpr std::uint32_t kReadOnly = FILE_ATTRIBUTE_READONLY;
constexpr std::uint32_t kHidden = FILE_ATTRIBUTE_HIDDEN;

// Opens a file without sharing, the way a running browser holds its database.
class LockedFile {
public:
    explicit LockedFile(const std::string& path)
        : handle_(CreateFileW(Widen("\\\\?\\" + path).c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~LockedFile() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    bool locked() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

TEST(EraseFolderFiles, DeletesEveryFileAtEveryDepthAndCountsOnlyTheTop) {
    TempFolder dir;
    for (const char* name : {"a.txt", "b.dat", "c"}) {
        test::WriteFileOfSize(dir / name, 100);
    }
    test::WriteFileOfSize(dir / "sub\\d.txt", 100);
    test::WriteFileOfSize(dir / "sub\\deeper\\e.txt", 100);

    EraseRecorder recorder;
    Eraser eraser(EraseMode::Erase, &recorder);
    EXPECT_EQ(eraser.DeleteFolderFiles(dir.path()), 10300);
    EXPECT_EQ(test::ListTree(dir.path()), (Paths{"sub\\", "sub\\deeper\\"}));

    const Paths removed = recorder.Paths(TraceKind::File);
    EXPECT_EQ(removed, (Paths{dir / "a.txt", dir / "b.dat", dir / "c", dir / "sub\\d.txt",
                              dir / "sub\\deeper\\e.txt"}));
    for (const Trace& trace : recorder.traces) {
        EXPECT_EQ(trace.bytes, 100);
    }
    EXPECT_EQ(recorder.yields, 0);
}

TEST(EraseFolderFiles, MissingFoldersGiveTheConstantPartAndChangeNothing) {
    TempFolder dir;
    const std::string missing = dir / "not\\there";
    EraseRecorder recorder;
    Eraser eraser(EraseMode::Erase, &recorder);
    EXPECT_EQ(eraser.DeleteFolderFiles(missing), 10000);
    EXPECT_EQ(eraser.DeleteNamedFiles(missing, "x"), 10000);
    EXPECT_EQ(eraser.DeleteFilesByExtension(missing, "tmp"), 10000);
    EXPECT_EQ(eraser.DeleteNamedFolders(missing, "cache"), 10000);
    EXPECT_EQ(eraser.DeleteFilesInFolder(missing), 0);
    EXPECT_EQ(eraser.DeleteNamedFilesInFolder(missing, "x"), 0);
    EXPECT_EQ(eraser.DeleteFilesByExtensionInFolder(missing, "tmp"), 0);
    // The parent is missing too, so there is nowhere to make the folder.
    EXPECT_EQ(eraser.ResetFolder(missing), 0);
    EXPECT_TRUE(test::ListTree(dir.path()).empty());
    EXPECT_TRUE(recorder.traces.empty());

    // A file where a folder is expected is not a folder to walk.
    test::WriteFileOfSize(dir / "file", 7);
    EXPECT_EQ(eraser.DeleteFolderFiles(dir / "file"), 10000);
    EXPECT_EQ(eraser.ResetFolder(dir / "file"), 0);
    EXPECT_TRUE(test::FileExists(dir / "file"));
}

TEST(EraseAttributes, ReadOnlyFilesStayButAreCountedAndHiddenOnesLoseEveryBit) {
    TempFolder dir;
    test::WriteFileOfSize(dir / "ro.txt", 50);
    test::SetAttributes(dir / "ro.txt", kReadOnly);
    test::WriteFileOfSize(dir / "plain.txt", 20);
    test::WriteFileOfSize(dir / "sub\\other.txt", 5);

    EraseRecorder recorder;
    Eraser eraser(EraseMode::Erase, &recorder);
    EXPECT_EQ(eraser.DeleteFilesInFolder(dir.path()), 70);
    EXPECT_EQ(test::ListTree(dir.path()), (Paths{"ro.txt", "sub\\", "sub\\other.txt"}));
    const Trace* kept = recorder.Find(dir / "ro.txt");
    ASSERT_NE(kept, nullptr);
    EXPECT_FALSE(kept->removed());
    EXPECT_EQ(kept->error, ERROR_ACCESS_DENIED);
    EXPECT_EQ(kept->bytes, 50);

    // Clearing "hidden" sets the attributes to normal, which drops read-only as well.
    TempFolder tree;
    test::WriteFileOfSize(tree / "hidden-ro", 30);
    test::SetAttributes(tree / "hidden-ro", kHidden | kReadOnly);
    test::WriteFileOfSize(tree / "sub\\ro", 40);
    test::SetAttributes(tree / "sub\\ro", kReadOnly);
    EXPECT_EQ(eraser.DeleteFolderFiles(tree.path()), 10030);
    EXPECT_EQ(test::ListTree(tree.path()), (Paths{"sub\\", "sub\\ro"}));

    // Every examined file is unhidden, selected or not.
    TempFolder names;
    test::WriteFileOfSize(names / "secret", 1);
    test::SetAttributes(names / "secret", kHidden | kReadOnly);
    test::WriteFileOfSize(names / "deep\\secret2", 1);
    test::SetAttributes(names / "deep\\secret2", kHidden);
    EXPECT_EQ(eraser.DeleteNamedFiles(names.path(), "nothing-matches"), 10000);
    EXPECT_TRUE(test::FileExists(names / "secret"));
    EXPECT_EQ(test::AttributesOf(names / "secret") & (kHidden | kReadOnly), 0u);
    EXPECT_EQ(test::AttributesOf(names / "deep\\secret2") & kHidden, 0u);
}

TEST(EraseSelection, FileNamesMatchExactlyAndExtensionsAfterLowerCasing) {
    TempFolder dir;
    test::WriteFileOfSize(dir / "index.dat", 10);
    // Names differing only in case cannot share a folder on Windows.
    test::WriteFileOfSize(dir / "upper\\INDEX.DAT", 11);
    test::WriteFileOfSize(dir / "p1\\index.dat", 20);
    test::WriteFileOfSize(dir / "p2\\deep\\index.dat", 30);
    test::WriteFileOfSize(dir / "p2\\index.dat.bak", 3);

    Eraser eraser(EraseMode::Erase);
    EXPECT_EQ(eraser.DeleteNamedFiles(dir.path(), "index.dat"), 10010);
    EXPECT_EQ(test::ListTree(dir.path()), (Paths{"p1\\", "p2\\", "p2\\deep\\", "p2\\index.dat.bak",
                                                 "upper\\", "upper\\INDEX.DAT"}));

    TempFolder ext;
    test::WriteFileOfSize(ext / "a.tmp", 1);
    test::WriteFileOfSize(ext / "b.TMP", 2);
    test::WriteFileOfSize(ext / "sub\\c.Tmp", 4);
    test::WriteFileOfSize(ext / "d.tmpx", 8);
    test::WriteFileOfSize(ext / "tmp", 16);
    test::WriteFileOfSize(ext / "e.tmp.bak", 32);
    test::WriteFileOfSize(ext / "tmp.d\\f", 64);
    // The argument itself is not lower-cased: an upper-case extension finds nothing.
    EXPECT_EQ(eraser.DeleteFilesByExtension(ext.path(), "TMP"), 10000);
    EXPECT_EQ(test::ListTree(ext.path()).size(), 9u);
    EXPECT_EQ(eraser.DeleteFilesByExtension(ext.path(), "tmp"), 10003);
    EXPECT_EQ(test::ListTree(ext.path()),
              (Paths{"d.tmpx", "e.tmp.bak", "sub\\", "tmp", "tmp.d\\", "tmp.d\\f"}));

    // Lower-casing covers more than ASCII.
    TempFolder cyrillic;
    test::WriteFileOfSize(cyrillic / "отчёт.ЛОГ", 5);
    test::WriteFileOfSize(cyrillic / "журнал.лог", 6);
    test::WriteFileOfSize(cyrillic / "Ärger.ÄÖÜ", 7);
    EXPECT_EQ(eraser.DeleteFilesByExtensionInFolder(cyrillic.path(), "лог"), 11);
    EXPECT_EQ(eraser.DeleteFilesByExtensionInFolder(cyrillic.path(), "äöü"), 7);
    EXPECT_TRUE(test::ListTree(cyrillic.path()).empty());
}

TEST(EraseInFolder, OnlyTheFolderItselfAndNoConstantPart) {
    TempFolder dir;
    test::WriteFileOfSize(dir / "x.log", 10);
    test::WriteFileOfSize(dir / "x.logs", 12);
    test::WriteFileOfSize(dir / "y.txt", 5);
    test::WriteFileOfSize(dir / "sub\\x.log", 20);
    test::WriteFileOfSize(dir / "sub\\z.txt", 20);

    Eraser eraser(EraseMode::Erase);
    EXPECT_EQ(eraser.DeleteNamedFilesInFolder(dir.path(), "x.log"), 10);
    EXPECT_EQ(eraser.DeleteFilesByExtensionInFolder(dir.path(), "txt"), 5);
    EXPECT_EQ(test::ListTree(dir.path()), (Paths{"sub\\", "sub\\x.log", "sub\\z.txt", "x.logs"}));
    EXPECT_EQ(eraser.DeleteFilesInFolder(dir.path()), 12);
    EXPECT_EQ(test::ListTree(dir.path()), (Paths{"sub\\", "sub\\x.log", "sub\\z.txt"}));
    EXPECT_EQ(eraser.DeleteFilesInFolder(dir.path()), 0);
}

TEST(EraseNamedFolders, MatchesInAnyCaseAtAnyDepthAndCountsWholeTreesDirectlyBelow) {
    TempFolder dir;
    test::WriteFileOfSize(dir / "Cache\\f", 100);
    test::WriteFileOfSize(dir / "Cache\\sub\\g", 50);
    test::SetAttributes(dir / "Cache\\sub\\g", kHidden);
    test::WriteFileOfSize(dir / "profile\\CACHE\\h", 70);
    test::WriteFileOfSize(dir / "profile\\cache.old\\i", 1);
    test::WriteFileOfSize(dir / "files\\cache", 2);  // a file, not a folder
    test::WriteFileOfSize(dir / "other\\cache\\ro", 10);
    test::SetAttributes(dir / "other\\cache\\ro", kReadOnly);
    test::WriteFileOfSize(dir / "other\\cache\\free", 3);
    test::WriteFileOfSize(dir / "other\\cache\\emptied\\x", 3);

    EraseRecorder recorder;
    Eraser eraser(EraseMode::Erase, &recorder);
    EXPECT_EQ(eraser.DeleteNamedFolders(dir.path(), "cache"), 10150);
    // Without force a read-only file stays, and so does the folder that holds it.
    EXPECT_EQ(test::ListTree(dir.path()),
              (Paths{"files\\", "files\\cache", "other\\", "other\\cache\\", "other\\cache\\ro",
                     "profile\\", "profile\\cache.old\\", "profile\\cache.old\\i"}));

    // Each matched folder is reported once, with its whole size.
    const Trace* cache = recorder.Find(dir / "Cache");
    ASSERT_NE(cache, nullptr);
    EXPECT_EQ(cache->kind, TraceKind::Folder);
    EXPECT_EQ(cache->bytes, 150);
    EXPECT_TRUE(cache->removed());
    const Trace* kept = recorder.Find(dir / "other\\cache");
    ASSERT_NE(kept, nullptr);
    EXPECT_FALSE(kept->removed());
    EXPECT_EQ(kept->bytes, 16);
    EXPECT_EQ(recorder.Paths(TraceKind::File, false), (Paths{dir / "other\\cache\\ro"}));
    EXPECT_EQ(recorder.Paths(TraceKind::Folder), (Paths{dir / "Cache", dir / "profile\\CACHE"}));

    TempFolder unicode;
    test::WriteFileOfSize(unicode / "a\\КЭШ\\f", 9);
    EXPECT_EQ(eraser.DeleteNamedFolders(unicode.path(), "кэш"), 10000);
    EXPECT_EQ(test::ListTree(unicode.path()), (Paths{"a\\"}));
}

TEST(EraseNamedFolders, UnhidesOnlyFoldersWhoseSubFoldersItExamines) {
    TempFolder dir;
    test::MakeFolders(dir / "outer\\inner\\leaf");
    test::MakeFolders(dir / "lonely");
    test::SetAttributes(dir / "outer", kHidden);
    test::SetAttributes(dir / "outer\\inner\\leaf", kHidden);
    test::SetAttributes(dir / "lonely", kHidden);

    Eraser eraser(EraseMode::Erase);
    EXPECT_EQ(eraser.DeleteNamedFolders(dir.path(), "nothing"), 10000);
    EXPECT_EQ(test::AttributesOf(dir / "outer") & kHidden, 0u);
    // Neither has a sub-folder to examine.
    EXPECT_NE(test::AttributesOf(dir / "outer\\inner\\leaf") & kHidden, 0u);
    EXPECT_NE(test::AttributesOf(dir / "lonely") & kHidden, 0u);
}

TEST(EraseResetFolder, RemovesTheWholeTreeWithForceAndMakesTheFolderAgain) {
    TempFolder dir;
    const std::string target = dir / "reset";
    test::WriteFileOfSize(target + "\\ro", 100);
    test::SetAttributes(target + "\\ro", kReadOnly);
    test::WriteFileOfSize(target + "\\hidden", 10);
    test::SetAttributes(target + "\\hidden", kHidden);
    test::WriteFileOfSize(target + "\\sub\\both", 200);
    test::SetAttributes(target + "\\sub\\both", kHidden | kReadOnly);
    test::WriteFileOfSize(target + "\\sub\\deep\\c", 5);
    test::SetAttributes(target + "\\sub", kReadOnly);
    test::SetAttributes(target, kHidden);

    EraseRecorder recorder;
    Eraser eraser(EraseMode::Erase, &recorder);
    EXPECT_EQ(eraser.ResetFolder(target), 315);
    EXPECT_TRUE(test::FolderExists(target));
    EXPECT_TRUE(test::ListTree(target).empty());
    ASSERT_EQ(recorder.traces.size(), 1u);
    EXPECT_EQ(recorder.traces[0].kind, TraceKind::Folder);
    EXPECT_EQ(recorder.traces[0].bytes, 315);
    EXPECT_TRUE(recorder.traces[0].removed());

    // An empty folder again: nothing to count, the folder stays.
    EXPECT_EQ(eraser.ResetFolder(target), 0);
    EXPECT_TRUE(test::FolderExists(target));

    // A missing folder is made when its parent exists.
    EXPECT_EQ(eraser.ResetFolder(dir / "new"), 0);
    EXPECT_TRUE(test::FolderExists(dir / "new"));
}

TEST(EraseLockedFiles, ALockedFileIsCountedStaysAndStopsNothing) {
    TempFolder dir;
    test::WriteFileOfSize(dir / "a-first", 1);
    test::WriteFileOfSize(dir / "locked.db", 40);
    test::WriteFileOfSize(dir / "z-last", 60);
    test::WriteFileOfSize(dir / "cache\\locked2", 7);
    test::WriteFileOfSize(dir / "cache\\free", 8);
    LockedFile lock(dir / "locked.db");
    LockedFile lock2(dir / "cache\\locked2");
    ASSERT_TRUE(lock.locked() && lock2.locked());

    EraseRecorder recorder;
    Eraser eraser(EraseMode::Erase, &recorder);
    EXPECT_EQ(eraser.DeleteFolderFiles(dir.path()), 10101);
    EXPECT_EQ(test::ListTree(dir.path()), (Paths{"cache\\", "cache\\locked2", "locked.db"}));
    const Trace* locked = recorder.Find(dir / "locked.db");
    ASSERT_NE(locked, nullptr);
    EXPECT_FALSE(locked->removed());
    EXPECT_NE(locked->error, 0u);

    test::WriteFileOfSize(dir / "cache\\free", 8);
    EXPECT_EQ(eraser.DeleteNamedFolders(dir.path(), "cache"), 10015);
    EXPECT_EQ(test::ListTree(dir.path()), (Paths{"cache\\", "cache\\locked2", "locked.db"}));

    test::WriteFileOfSize(dir / "cache\\free", 8);
    EXPECT_EQ(eraser.ResetFolder(dir.path()), 55);
    EXPECT_EQ(test::ListTree(dir.path()), (Paths{"cache\\", "cache\\locked2", "locked.db"}));
}

TEST(EraseYields, OnlyTheNamedFileOperationsLetEventsRun) {
    TempFolder dir;
    test::WriteFileOfSize(dir / "a", 1);
    test::WriteFileOfSize(dir / "b", 1);
    test::WriteFileOfSize(dir / "sub1\\c", 1);
    test::MakeFolders(dir / "sub2");

    const auto yieldsOf = [&](auto operation) {
        EraseRecorder recorder;
        Eraser eraser(EraseMode::Preview, &recorder);
        operation(eraser);
        return recorder.yields;
    };
    // Three files examined, two recursive calls.
    EXPECT_EQ(yieldsOf([&](Eraser& e) { e.DeleteNamedFiles(dir.path(), "x"); }), 5);
    EXPECT_EQ(yieldsOf([&](Eraser& e) { e.DeleteNamedFilesInFolder(dir.path(), "x"); }), 2);
    EXPECT_EQ(yieldsOf([&](Eraser& e) { e.DeleteFilesByExtensionInFolder(dir.path(), "x"); }), 2);
    EXPECT_EQ(yieldsOf([&](Eraser& e) { e.DeleteFolderFiles(dir.path()); }), 0);
    EXPECT_EQ(yieldsOf([&](Eraser& e) { e.DeleteFilesByExtension(dir.path(), "x"); }), 0);
    EXPECT_EQ(yieldsOf([&](Eraser& e) { e.DeleteNamedFolders(dir.path(), "x"); }), 0);
    EXPECT_EQ(yieldsOf([&](Eraser& e) { e.DeleteFilesInFolder(dir.path()); }), 0);
}

}  // namespace
}  // namespace hm
