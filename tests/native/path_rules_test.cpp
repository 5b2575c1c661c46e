#include "platform/path_rules.h"

#include <gtest/gtest.h>

namespace hm {
namespace {

TEST(PathRules, OnlyDriveAndUncPathsAreAbsolute) {
    EXPECT_TRUE(IsAbsolutePath("C:\\Users"));
    EXPECT_TRUE(IsAbsolutePath("c:/x"));
    EXPECT_TRUE(IsAbsolutePath("\\\\server\\share"));
    // Forms whose meaning depends on the current drive or folder.
    EXPECT_FALSE(IsAbsolutePath("C:"));
    EXPECT_FALSE(IsAbsolutePath("C:relative"));
    EXPECT_FALSE(IsAbsolutePath("\\Mozilla\\Firefox"));
    EXPECT_FALSE(IsAbsolutePath("Error\\Mozilla"));
    EXPECT_FALSE(IsAbsolutePath(""));
    EXPECT_FALSE(IsAbsolutePath("\\\\"));
    EXPECT_FALSE(IsAbsolutePath("\\\\\\x"));
    // The system would read only up to the NUL, a different and wider path.
    EXPECT_FALSE(IsAbsolutePath(std::string("C:\\\0Users", 9)));
    EXPECT_FALSE(IsAbsolutePath(std::string("C:\\Users\0", 9)));
}

TEST(PathRules, NamesAndExtensions) {
    EXPECT_EQ(JoinPath("C:\\a", "b.txt"), "C:\\a\\b.txt");
    EXPECT_EQ(FileNameOf("C:\\a\\b.txt"), "b.txt");
    EXPECT_EQ(FileNameOf("b.txt"), "b.txt");
    EXPECT_EQ(ParentOf("C:\\a\\b.txt"), "C:\\a");
    EXPECT_EQ(ParentOf("b.txt"), "");
    EXPECT_EQ(ExtensionOf("a.tar.GZ"), "GZ");
    EXPECT_EQ(ExtensionOf("C:\\x.y\\noext"), "");
    EXPECT_EQ(ExtensionOf(".hidden"), "hidden");
    EXPECT_EQ(AsciiLower("ÄBc"), "Äbc");
    EXPECT_EQ(TrimBlanks("  1 "), "1");
    EXPECT_EQ(TrimBlanks("   "), "");
}

}  // namespace
}  // namespace hm
