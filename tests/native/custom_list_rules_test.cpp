#include "config/custom_list_rules.h"

#include <gtest/gtest.h>

namespace hm {
namespace {

CustomLine Item(std::string path, std::string type) {
    return {std::move(path), std::move(type), true};
}

TEST(CustomListRules, LinesSplitAtTabIntoPathAndType) {
    const auto lines = ParseCustomList("C:\\a.txt\tFile\r\nC:\\Temp\tFolder\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].path, "C:\\a.txt");
    EXPECT_EQ(lines[0].type, "File");
    EXPECT_TRUE(lines[0].hasType);
    EXPECT_EQ(lines[1].path, "C:\\Temp");
    EXPECT_EQ(lines[1].type, "Folder");
}

TEST(CustomListRules, AnyLineEndCountsAndEmptyLinesAreDropped) {
    const auto lines = ParseCustomList("\r\nA\tFile\nB\tFile\rC\tFile\r\n\r\n\nD\tFolder");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].path, "A");
    EXPECT_EQ(lines[1].path, "B");
    EXPECT_EQ(lines[2].path, "C");
    EXPECT_EQ(lines[3].path, "D");
    EXPECT_EQ(lines[3].type, "Folder");
    EXPECT_TRUE(ParseCustomList("").empty());
    EXPECT_TRUE(ParseCustomList("\r\n\n\r").empty());
}

TEST(CustomListRules, OddLinesKeepWhatTheyHold) {
    const auto lines = ParseCustomList("NoTab\r\nC:\\x\t\r\nC:\\y\tFile\textra\r\n\tFile\r\n");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].path, "NoTab");
    EXPECT_FALSE(lines[0].hasType);
    EXPECT_TRUE(lines[1].hasType);
    EXPECT_EQ(lines[1].type, "");
    // Only the first two fields mean anything.
    EXPECT_EQ(lines[2].type, "File");
    EXPECT_EQ(lines[3].path, "");
    EXPECT_EQ(lines[3].type, "File");
}

TEST(CustomListRules, OnlyExactTypesAreActedOn) {
    EXPECT_TRUE(IsCustomFile(Item("p", "File")));
    EXPECT_TRUE(IsCustomFolder(Item("p", "Folder")));
    EXPECT_FALSE(IsCustomFile(Item("p", "file")));
    EXPECT_FALSE(IsCustomFile(Item("p", "File ")));
    EXPECT_FALSE(IsCustomFolder(Item("p", "FOLDER")));
    EXPECT_FALSE(IsCustomFolder(Item("p", "File")));
    CustomLine untyped{"p", "File", false};
    EXPECT_FALSE(IsCustomFile(untyped));
}

TEST(CustomListRules, FormatWritesOneCrLfLinePerItem) {
    EXPECT_EQ(FormatCustomList({Item("C:\\a.txt", "File"), Item("C:\\b", "Folder")}),
              "C:\\a.txt\tFile\r\nC:\\b\tFolder\r\n");
    EXPECT_EQ(FormatCustomList({}), "");
}

TEST(CustomListRules, ItemsThatWouldBreakTheFormatAreLeftOut) {
    const std::vector<CustomLine> items = {
        Item("C:\\tab\there", "File"),  Item("C:\\line\nbreak", "File"),
        Item("C:\\cr\rhere", "Folder"), Item(std::string("C:\\nul\0x", 8), "File"),
        Item("C:\\ok", "Fi\tle"),       Item("C:\\kept", "Folder"),
    };
    EXPECT_EQ(FormatCustomList(items), "C:\\kept\tFolder\r\n");
}

TEST(CustomListRules, FormattedTextParsesBackToTheSameItems) {
    const std::vector<CustomLine> items = {Item("C:\\Users\\\xC3\xA9t\xC3\xA9", "Folder"),
                                           Item("\\\\server\\share\\f.doc", "File"),
                                           Item("C:\\odd type", "Other")};
    const auto back = ParseCustomList(FormatCustomList(items));
    ASSERT_EQ(back.size(), items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(back[i].path, items[i].path);
        EXPECT_EQ(back[i].type, items[i].type);
        EXPECT_TRUE(back[i].hasType);
    }
}

}  // namespace
}  // namespace hm
