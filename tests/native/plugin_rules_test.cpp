#include "config/plugin_rules.h"

#include <gtest/gtest.h>

namespace hm {
namespace {

TEST(PluginRules, RootsAreSigned32BitNumbersInDecimalOrHex) {
    const struct {
        const char* text;
        std::optional<std::int32_t> root;
    } cases[] = {
        {"-2147483647", -2147483647},  // HKEY_CURRENT_USER
        {"-2147483646", -2147483646},  // HKEY_LOCAL_MACHINE
        {"&H80000001", -2147483647},
        {"&h80000002", -2147483646},
        {" -2147483647 ", -2147483647},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"2147483647", 2147483647},
        {"2147483649", std::nullopt},  // beyond the signed range
        {"&H180000001", std::nullopt},
        {"&H", std::nullopt},
        {"HKCU", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"12x", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParsePluginRoot(c.text), c.root) << c.text;
    }
}

TEST(PluginRules, LinesGiveTheirActionOrNothing) {
    const std::string roaming = "C:\\U\\Roaming";
    const std::string local = "C:\\U\\Local";
    auto tree = ParsePluginLine(PluginSection::RegTree, "1=-2147483647,Software\\Example", roaming,
                                local);
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->root, 0x80000001u);
    EXPECT_EQ(tree->subKey, "Software\\Example");
    // The key names do not matter and a line without "=" counts whole.
    auto value =
        ParsePluginLine(PluginSection::RegValue, "&H80000001,Software\\A,Last Used", roaming, local);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->valueName, "Last Used");
    EXPECT_FALSE(ParsePluginLine(PluginSection::RegValue, "x=-2147483647,Software\\A", roaming, local));
    EXPECT_FALSE(ParsePluginLine(PluginSection::RegTree, "x=2147483649,Software\\A", roaming, local));
    // Only the exact lower-case names stand for the folders; fields are used as they stand.
    auto file = ParsePluginLine(PluginSection::File, "a=localappdata,\\App\\Logs,Run.LOG", roaming,
                                local);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->folder, "C:\\U\\Local\\App\\Logs");
    EXPECT_EQ(file->name, "Run.LOG");
    auto literal = ParsePluginLine(PluginSection::Folder, "a=AppData,\\App", roaming, local);
    ASSERT_TRUE(literal);
    EXPECT_EQ(literal->folder, "AppData\\App");
    auto spaced = ParsePluginLine(PluginSection::FileExt, "a= appdata,\\x,tmp", roaming, local);
    ASSERT_TRUE(spaced);
    EXPECT_EQ(spaced->folder, " appdata\\x");
    EXPECT_FALSE(ParsePluginLine(PluginSection::File, "a=appdata,\\x", roaming, local));
    EXPECT_FALSE(ParsePluginLine(PluginSection::Folder, "a=appdata", roaming, local));
}

}  // namespace
}  // namespace hm
