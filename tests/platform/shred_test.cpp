// Overwriting and shredding single files, seen from a second hard link to the same content: what
// that link shows is what the disk holds for the file.
#include "platform/shred.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "support/sandbox.h"
#include "support/shred_support.h"

namespace hm {
namespace {

using test::TempFolder;

std::wstring Long(const std::string& path) {
    return files::ToLongPath(path);
}

class ShredFileTest : public ::testing::Test {
protected:
    // A secret file in its own folder, and a witness of its content in another folder.
    std::string MakeSecret(const std::string& name, std::size_t bytes) {
        const std::string file = folder / name;
        test::WriteFileText(file, test::SecretText(bytes));
        EXPECT_TRUE(test::MakeWitness(file, witness()));
        return file;
    }
    std::string witness() const { return elsewhere / "witness"; }

    TempFolder folder;
    TempFolder elsewhere;
};

TEST_F(ShredFileTest, OverwritesInPlaceFlushesTruncatesAndTakesTheNameAway) {
    const std::string file = MakeSecret("secret report.txt", 100000);
    std::uint64_t lastWritten = 0;
    std::uint64_t lastTotal = 0;
    std::string seenAtTheEnd;
    shred::Overwrite how;
    how.progress = [&](std::uint64_t written, std::uint64_t total) {
        lastWritten = written;
        lastTotal = total;
        if (written == total) {
            seenAtTheEnd = test::ReadShared(witness());
        }
        return true;
    };
    const shred::FileOutcome outcome = shred::ShredFile(Long(file), how);

    EXPECT_EQ(outcome.error, 0u);
    EXPECT_TRUE(outcome.overwritten);
    EXPECT_TRUE(outcome.renamed);
    // The whole allocated length was written over, in place: the other name saw random data
    // where the secret was, before the file was cut to nothing.
    EXPECT_GE(lastTotal, 100000u);
    EXPECT_EQ(lastWritten, lastTotal);
    ASSERT_EQ(seenAtTheEnd.size(), lastTotal);
    EXPECT_EQ(seenAtTheEnd.find(test::kSecret), std::string::npos);
    EXPECT_EQ(test::ReadShared(witness()), "");
    EXPECT_TRUE(test::ListTree(folder.path()).empty());
    EXPECT_FALSE(test::TreeHolds(folder.path(), test::kSecret));
}

TEST_F(ShredFileTest, EveryPassWritesFreshRandomData) {
    const std::string file = MakeSecret("a.bin", 3 * 4096);
    std::vector<std::string> afterEachPass;
    shred::Overwrite how;
    how.passes = 3;
    how.progress = [&](std::uint64_t written, std::uint64_t total) {
        if (written % (total / 3) == 0) {
            afterEachPass.push_back(test::ReadShared(witness()));
        }
        return true;
    };
    EXPECT_EQ(shred::ShredFile(Long(file), how).error, 0u);
    ASSERT_EQ(afterEachPass.size(), 3u);
    EXPECT_NE(afterEachPass[0], afterEachPass[1]);
    EXPECT_NE(afterEachPass[1], afterEachPass[2]);
    EXPECT_FALSE(test::FileExists(file));
}

TEST_F(ShredFileTest, ReadOnlyHiddenAndSystemFilesAreShredded) {
    const std::string file = MakeSecret("guarded.txt", 500);
    test::SetAttributes(file,
                        FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(shred::ShredFile(Long(file), {}).error, 0u);
    EXPECT_FALSE(test::FileExists(file));
    EXPECT_EQ(test::ReadShared(witness()), "");
}

TEST_F(ShredFileTest, AFileInUseIsLeftAsItWasAttributesIncluded) {
    const std::string file = MakeSecret("open.db", 5000);
    test::SetAttributes(file, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    const std::uint32_t before = test::AttributesOf(file);
    test::HeldOpen browser(file);
    ASSERT_TRUE(browser.held());

    const shred::FileOutcome outcome = shred::ShredFile(Long(file), {});
    EXPECT_EQ(outcome.error, static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(outcome.overwritten);
    EXPECT_EQ(test::ReadShared(file), test::SecretText(5000));
    EXPECT_EQ(test::AttributesOf(file), before);
    EXPECT_EQ(shred::OverwriteInPlace(Long(file), {}),
              static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(test::ReadShared(file), test::SecretText(5000));
}

TEST_F(ShredFileTest, StoppingKeepsTheFileUnderItsName) {
    const std::string file = MakeSecret("big.bin", 3 << 20);
    int calls = 0;
    shred::Overwrite how;
    how.progress = [&](std::uint64_t, std::uint64_t) { return ++calls < 2; };
    const shred::FileOutcome outcome = shred::ShredFile(Long(file), how);
    EXPECT_EQ(outcome.error, shred::kErrorStopped);
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(test::FileExists(file));
}

TEST_F(ShredFileTest, LongPathsAndNamesOutsideTheAnsiCodePage) {
    std::string deep = folder.path();
    while (deep.size() < 300) {
        deep +=
            "\\\xD0\xBF\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0-\xE6\x96\x87\xE4\xBB\xB6";  // папка-文件
    }
    const std::string file = deep + "\\\xCE\xB1\xCE\xBD\xCF\x84\xCE\xAF\xCE\xB3\xCF\x81.txt";
    test::WriteFileText(file, test::SecretText(777));
    ASSERT_TRUE(test::FileExists(file));
    EXPECT_EQ(shred::ShredFile(Long(file), {}).error, 0u);
    EXPECT_FALSE(test::FileExists(file));
    EXPECT_TRUE(test::ListTree(deep).empty());
    EXPECT_EQ(shred::RemoveEmptyFolder(Long(deep)), 0u);
    EXPECT_FALSE(test::FolderExists(deep));
}

// What the cleaning pass does before it deletes: the content goes, the file stays for the
// deletion that follows.
TEST_F(ShredFileTest, OverwriteInPlaceKeepsNameAndAttributes) {
    const std::string file = MakeSecret("cookies.sqlite", 10000);
    test::SetAttributes(file, FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(shred::OverwriteInPlace(Long(file), {}), 0u);
    const std::string seen = test::ReadShared(witness());
    EXPECT_GE(seen.size(), 10000u);
    EXPECT_EQ(seen.find(test::kSecret), std::string::npos);
    EXPECT_TRUE(test::FileExists(file));
    EXPECT_EQ(test::AttributesOf(file) & FILE_ATTRIBUTE_HIDDEN,
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
}

TEST_F(ShredFileTest, AFolderThatStillHoldsSomethingKeepsItsName) {
    test::WriteFileText(folder / "sub\\left.txt", "x");
    EXPECT_EQ(shred::RemoveEmptyFolder(Long(folder / "sub")), files::kErrorDirNotEmpty);
    EXPECT_TRUE(test::FileExists(folder / "sub\\left.txt"));
}

// The fixture's file links are listed as plain files under Wine, and opening one reaches its
// target. Neither overwriting nor shredding may go through.
TEST(ShredLinks, AFileReachedThroughALinkIsRefusedAndItsTargetKept) {
    const std::string tree = test::kShredFixture + "\\file";
    for (const std::string& link : {tree + "\\filelink", tree + "\\sub\\keep.txt"}) {
        EXPECT_EQ(shred::ShredFile(Long(link), {}).error, files::kErrorLinkNotAddressable) << link;
        EXPECT_EQ(shred::OverwriteInPlace(Long(link), {}), files::kErrorLinkNotAddressable);
    }
    EXPECT_NE(shred::RemoveEmptyFolder(Long(tree + "\\dirlink")), 0u);
    EXPECT_TRUE(test::PreciousIntact());
}

}  // namespace
}  // namespace hm
