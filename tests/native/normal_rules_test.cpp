#include "engine/normal_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hm {
namespace {

using Names = std::vector<std::string>;
using namespace std::string_literals;

TEST(NormalRules, ExpandUserProfileReplacesEverythingUpToTheFirstToken) {
    const std::string profile = "C:\\Users\\ann";
    EXPECT_EQ(ExpandUserProfile("%USERPROFILE%\\Cookies", profile), "C:\\Users\\ann\\Cookies");
    EXPECT_EQ(ExpandUserProfile("C:\\x%USERPROFILE%\\y", profile), "C:\\Users\\ann\\y");
    EXPECT_EQ(ExpandUserProfile("C:\\Temp", profile), "C:\\Temp");
    EXPECT_EQ(ExpandUserProfile("%USERPROFILE%", profile), profile);
    // Only the first token is replaced; the token is matched with its case.
    EXPECT_EQ(ExpandUserProfile("%USERPROFILE%\\a%USERPROFILE%", profile),
              "C:\\Users\\ann\\a%USERPROFILE%");
    EXPECT_EQ(ExpandUserProfile("%userprofile%\\x", profile), "%userprofile%\\x");
    EXPECT_EQ(ExpandUserProfile("%USERPROFILE%\\Cookies", ""), "\\Cookies");
}

TEST(NormalRules, OfficeGenerationsAreSubstringTestsInOrder) {
    const auto of = [](const char* version) { return OfficeGenerationOf({true, version}); };
    EXPECT_EQ(of("8.0"), "Office97");
    EXPECT_EQ(of("9.0"), "Office2000");
    EXPECT_EQ(of("10.0"), "Office2002");
    EXPECT_EQ(of("11.0"), "Office2003");
    EXPECT_EQ(of("12.0"), "Office2007");
    EXPECT_EQ(of("14.0"), "Office2010");
    // Later generations are not in the list; an unread version stays "0".
    EXPECT_EQ(of("15.0"), "");
    EXPECT_EQ(of("16.0"), "");
    EXPECT_EQ(of("0"), "");
    EXPECT_EQ(of(""), "");
    // The first test that matches wins, wherever the digits are.
    EXPECT_EQ(of("12.0.4518"), "Office97");
    EXPECT_EQ(of("19.1"), "Office2000");
    EXPECT_EQ(of("110"), "Office2002");
    // An object that could not be created answers "NoOffice" whatever the text.
    EXPECT_EQ(OfficeGenerationOf({false, "0"}), "NoOffice");
    EXPECT_EQ(OfficeGenerationOf({false, "14.0"}), "NoOffice");
}

TEST(NormalRules, ParseFileSelectionOneFile) {
    FileSelection one = ParseFileSelection("C:\\Docs\\report.doc", "C:\\Docs");
    EXPECT_EQ(one.count, 1);
    EXPECT_EQ(one.folder, "C:\\Docs\\");
    EXPECT_EQ(one.names, (Names{"report.doc"}));

    // A folder that already ends in "\" (a drive root) gets no second one.
    one = ParseFileSelection("C:\\report.doc", "C:\\");
    EXPECT_EQ(one.count, 1);
    EXPECT_EQ(one.folder, "C:\\");
    EXPECT_EQ(one.names, (Names{"report.doc"}));

    // Nothing after the folder still counts as one (empty) name.
    one = ParseFileSelection("C:\\Docs", "C:\\Docs");
    EXPECT_EQ(one.count, 1);
    EXPECT_EQ(one.names, (Names{""}));
    one = ParseFileSelection("C:", "C:\\Docs");
    EXPECT_EQ(one.count, 1);
    EXPECT_EQ(one.names, (Names{""}));
}

TEST(NormalRules, ParseFileSelectionSeveralFiles) {
    FileSelection many = ParseFileSelection("C:\\Docs\0a.txt\0b c.txt"s, "C:\\Docs");
    EXPECT_EQ(many.count, 2);
    EXPECT_EQ(many.folder, "C:\\Docs\\");
    EXPECT_EQ(many.names, (Names{"a.txt", "b c.txt"}));

    // Every NUL starts a name, a trailing one included.
    many = ParseFileSelection("C:\\Docs\0a.txt\0"s, "C:\\Docs");
    EXPECT_EQ(many.count, 2);
    EXPECT_EQ(many.names, (Names{"a.txt", ""}));
}

TEST(NormalRules, ParseFileSelectionCountsTheFolderInCharactersNotBytes) {
    // "Ä" is one character but two bytes of UTF-8: the dialog's text is cut after as many
    // characters as the folder has, even where its spelling differs.
    FileSelection many = ParseFileSelection("C:\\a\0x\0y"s, "C:\\Ä");
    EXPECT_EQ(many.count, 2);
    EXPECT_EQ(many.folder, "C:\\Ä\\");
    EXPECT_EQ(many.names, (Names{"x", "y"}));

    // A character beyond the basic plane counts twice, as the system counts it.
    many = ParseFileSelection("C:\\ab\0x"s, "C:\\😀");
    EXPECT_EQ(many.count, 1);
    EXPECT_EQ(many.names, (Names{"x"}));

    FileSelection one = ParseFileSelection("C:\\Папка\\файл.txt", "C:\\Папка");
    EXPECT_EQ(one.count, 1);
    EXPECT_EQ(one.names, (Names{"файл.txt"}));
}

}  // namespace
}  // namespace hm
