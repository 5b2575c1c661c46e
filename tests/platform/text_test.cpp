#include "platform/text.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace hm {
namespace {

TEST(Text, Utf8RoundTripsThroughUtf16) {
    const std::string mixed = "Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80";
    EXPECT_EQ(Narrow(Widen(mixed)), mixed);
    EXPECT_EQ(Widen("abc"), L"abc");
    EXPECT_EQ(Narrow(L""), "");
}

TEST(Text, AnsiCodePageKeepsItsOwnCharacters) {
    // Under the default (Western) ANSI code page e-acute is one byte.
    const std::string cafe = "Caf\xC3\xA9";
    const std::string ansi = ToAnsi(cafe);
    if (GetACP() == 1252) {
        EXPECT_EQ(ansi, "Caf\xE9");
    }
    EXPECT_EQ(FromAnsi(ansi), cafe);
}

}  // namespace
}  // namespace hm
