#include "search/extension_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hm::search {
namespace {

using Lines = std::vector<std::string>;

TEST(ExtensionRules, AValidLineIsStarDotAndAtLeastOneMoreCharacter) {
    const std::pair<const char*, bool> cases[] = {
        {"*.tmp", true},   {"*.a", true}, {"*..", true},         {"*. ", true},   {"*.", false},
        {"*", false},      {"", false},   {"log", false},        {"*log", false}, {".*tmp", false},
        {" *.log", false}, {"*.é", true}, {"readme.txt", false},
    };
    for (const auto& [text, valid] : cases) {
        EXPECT_EQ(IsValidExtension(text), valid) << text;
    }
}

TEST(ExtensionRules, PatternTextJoinsTheValidLinesInFileOrder) {
    EXPECT_EQ(PatternTextOf(DefaultExtensionsText()), "*.tmp;*.gid;*.swp;*.chk");
    EXPECT_EQ(PatternTextOf("readme.txt\r\n*.log\r\n\r\n*.\r\n*.bak"), "*.log;*.bak");
    EXPECT_EQ(PatternTextOf("*.a\n*.b\r*.c\r\n"), "*.a;*.b;*.c");
    EXPECT_EQ(PatternTextOf("*.a\r\n*.a\r\n"), "*.a;*.a");
    EXPECT_EQ(PatternTextOf(""), "");
    EXPECT_EQ(PatternTextOf("readme.txt\r\n"), "");
    EXPECT_EQ(ValidExtensionLines("x\r\n*.log  \r\n"), (Lines{"*.log  "}));
}

TEST(ExtensionRules, DefaultListIsFourLinesInOrder) {
    EXPECT_EQ(DefaultExtensionsText(), "*.tmp\r\n*.gid\r\n*.swp\r\n*.chk\r\n");
}

TEST(ExtensionRules, RemoveDropsEveryEqualLineAndKeepsTheRest) {
    const std::string file = "*.tmp\r\nreadme.txt\r\n*.TMP\r\n*.tmp\r\n\r\n*.log";
    EXPECT_EQ(WithoutExtension(file, "*.tmp"), "readme.txt\r\n*.TMP\r\n\r\n*.log\r\n");
    // No selection: only empty lines go.
    EXPECT_EQ(WithoutExtension(file, ""), "*.tmp\r\nreadme.txt\r\n*.TMP\r\n*.tmp\r\n*.log\r\n");
    EXPECT_EQ(WithoutExtension("", "*.tmp"), "");
    EXPECT_EQ(WithoutExtension("*.a\n*.b", "*.a"), "*.b\r\n");
}

TEST(ExtensionRules, AppendStartsANewLineWhenTheLastOneHasNoEnd) {
    EXPECT_EQ(WithExtensionAppended("", "*.log"), "*.log\r\n");
    EXPECT_EQ(WithExtensionAppended("*.tmp\r\n", "*.log"), "*.tmp\r\n*.log\r\n");
    EXPECT_EQ(WithExtensionAppended("readme.txt", "*.log"), "readme.txt\r\n*.log\r\n");
    EXPECT_EQ(PatternTextOf(WithExtensionAppended("*.tmp", "*.log")), "*.tmp;*.log");
}

}  // namespace
}  // namespace hm::search
