// The backup files of the registry cleaner: the export format Registry Editor reads, written so
// that every value comes back with its type and bytes, and read strictly.
#include "regclean/regfile_rules.h"

#include <gtest/gtest.h>

#include "regclean/utf16_rules.h"

namespace hm::regclean {
namespace {

std::string Utf16File(const std::string& utf8) {
    return std::string("\xFF\xFE", 2) + BytesOf(*ToUtf16(utf8));
}

std::string TextOf(const std::string& file) {
    EXPECT_GE(file.size(), 2u);
    return *ToUtf8(UnitsOf(file.substr(2)));
}

std::string Sz(const std::u16string& text) {
    return BytesOf(text + u'\0');
}

TEST(RegFileRules, WritesEachTypeInRegistryEditorsForm) {
    const std::vector<RegSection> sections = {
        {"HKEY_CURRENT_USER\\Software\\Test",
         {{"", kRegSz, Sz(u"default")},
          {"Quote \"and\" C:\\slash", kRegSz, Sz(u"C:\\Program Files\\\"x\"")},
          {"Count", kRegDword, std::string("\x0a\x00\x00\x01", 4)},
          {"Path", kRegExpandSz, Sz(u"%A%")},
          {"Bytes", kRegBinary, std::string("\x01\xff", 2)},
          {"Nothing", kRegNone, ""}}},
        {"HKEY_LOCAL_MACHINE\\Software\\Empty", {}},
    };
    EXPECT_EQ(TextOf(EncodeRegFile(sections)),
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Test]\r\n"
              "@=\"default\"\r\n"
              "\"Quote \\\"and\\\" C:\\\\slash\"=\"C:\\\\Program Files\\\\\\\"x\\\"\"\r\n"
              "\"Count\"=dword:0100000a\r\n"
              "\"Path\"=hex(2):25,00,41,00,25,00,00,00\r\n"
              "\"Bytes\"=hex:01,ff\r\n"
              "\"Nothing\"=hex(0):\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Empty]\r\n"
              "\r\n");
}

TEST(RegFileRules, EveryValueComesBackByteForByte) {
    std::string longBinary;
    for (int i = 0; i < 300; ++i) {
        longBinary.push_back(static_cast<char>(i));
    }
    const std::vector<RegSection> sections = {
        {"HKEY_CURRENT_USER\\Software\\Odd]key \\ with blank ",
         {{"", kRegSz, Sz(u"")},
          {"no NUL", kRegSz, BytesOf(u"abc")},
          {"inner NUL", kRegSz, BytesOf(std::u16string(u"a\0b\0", 4))},
          {"odd length", kRegSz, std::string("a\0b", 3)},
          {"line break", kRegSz, Sz(u"one\r\ntwo")},
          {"lone surrogate", kRegSz, BytesOf(std::u16string(1, char16_t(0xD800)) + u'\0')},
          {"two NULs", kRegSz, BytesOf(std::u16string(u"x\0\0", 3))},
          {"\xc3\xa9t\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", kRegSz,
           Sz(u"\u00e9\u20ac\U0001F600")},
          {"@", kRegExpandSz, Sz(u"%SystemRoot%\\x.exe")},
          {"multi", kRegMultiSz, BytesOf(std::u16string(u"a\0bc\0\0", 6))},
          {"short dword", kRegDword, std::string("\x01\x02\x03", 3)},
          {"qword", kRegQword, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)},
          {"empty binary", kRegBinary, ""},
          {"long binary", kRegBinary, longBinary},
          {"none with data", kRegNone, std::string("\0\x7f", 2)},
          {"own type", 0x12345, "zz"},
          {"\ttab", kRegSz, Sz(u"\ttab")}}},
        {"HKEY_CURRENT_USER\\Software\\Odd]key \\ with blank \\Sub", {}},
    };
    const std::string file = EncodeRegFile(sections);
    ASSERT_FALSE(file.empty());
    const RegFile read = DecodeRegFile(file);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.sections, sections);
}

TEST(RegFileRules, ReadsRegistryEditorsOwnExports) {
    const RegFile read =
        DecodeRegFile(Utf16File("\r\nWindows Registry Editor Version 5.00\n\n; a comment\n"
                                "[HKEY_CURRENT_USER\\Software\\A]  \n"
                                "\"X\"=HEX(2):41,00,\\\n   00,00\n"
                                "\"Y\"=DWORD:1\n"
                                "@=\"\"\n"
                                "\"Z\"=hex:\n"));
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_EQ(read.sections.size(), 1u);
    const std::vector<RegValue> expected = {{"X", kRegExpandSz, std::string("A\0\0\0", 4)},
                                            {"Y", kRegDword, std::string("\1\0\0\0", 4)},
                                            {"", kRegSz, std::string("\0\0", 2)},
                                            {"Z", kRegBinary, ""}};
    EXPECT_EQ(read.sections[0].values, expected);
}

TEST(RegFileRules, RefusesWhatIsNotAPlainBackup) {
    const char* header = "Windows Registry Editor Version 5.00\r\n";
    const std::vector<std::string> refused = {
        "",
        "Windows Registry Editor Version 5.00\r\n",  // not UTF-16
        std::string("\xFF\xFE", 2) + "x",            // odd byte count
        Utf16File("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n"),
        Utf16File(std::string(header) + "[-HKEY_CURRENT_USER\\A]\r\n"),
        Utf16File(std::string(header) + "[HKEY_CURRENT_USER\\A]\r\n\"v\"=-\r\n"),
        Utf16File(std::string(header) + "\"v\"=\"before any key\"\r\n"),
        Utf16File(std::string(header) + "[HKEY_CURRENT_USER\\A]\r\n\"v\"=hex:1g\r\n"),
        Utf16File(std::string(header) + "[HKEY_CURRENT_USER\\A]\r\n\"v\"=hex:01,\r\n"),
        Utf16File(std::string(header) + "[HKEY_CURRENT_USER\\A]\r\n\"v\"=hex:01,\\\r\n"),
        Utf16File(std::string(header) + "[HKEY_CURRENT_USER\\A]\r\n\"v\"=\"open\r\n"),
        Utf16File(std::string(header) + "[HKEY_CURRENT_USER\\A]\r\n\"v\"=\"a\\n\"\r\n"),
        Utf16File(std::string(header) + "[HKEY_CURRENT_USER\\A]\r\n\"v\"=dword:123456789\r\n"),
        Utf16File(std::string(header) + "[HKEY_CURRENT_USER\\A]\r\n\"v\"=hex(2:00\r\n"),
        Utf16File(std::string(header) + "[HKEY_CURRENT_USER\\A]\r\n\"v\"\r\n"),
        Utf16File(std::string(header) + "[HKEY_CURRENT_USER\\A]\r\nstray text\r\n"),
        Utf16File(std::string(header) + "[HKEY_CURRENT_USER\\A\\]\r\n"),
    };
    for (const std::string& file : refused) {
        const RegFile read = DecodeRegFile(file);
        EXPECT_FALSE(read.ok) << TextOf(file + "  ");
        EXPECT_FALSE(read.error.empty());
        EXPECT_TRUE(read.sections.empty());
    }
}

TEST(RegFileRules, NamesTheFormatCannotCarryAreNotWritten) {
    EXPECT_TRUE(EncodeRegFile({{"HKEY_CURRENT_USER\\A", {{"line\nbreak", kRegSz, ""}}}}).empty());
    EXPECT_TRUE(
        EncodeRegFile({{"HKEY_CURRENT_USER\\A", {{std::string("n\0ul", 4), kRegSz, ""}}}}).empty());
    EXPECT_TRUE(EncodeRegFile({{"HKEY_CURRENT_USER\\A\\", {}}}).empty());
    EXPECT_TRUE(EncodeRegFile({{"-HKEY_CURRENT_USER\\A", {}}}).empty());
    EXPECT_TRUE(EncodeRegFile({{"HKEY_CURRENT_USER\\\xff", {}}}).empty());
    EXPECT_FALSE(EncodeRegFile({}).empty());
}

}  // namespace
}  // namespace hm::regclean
