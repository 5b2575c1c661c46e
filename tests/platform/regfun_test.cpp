#include "platform/regfun.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/text.h"
#include "support/sandbox.h"

namespace hm {
namespace {

using test::RecordingMessages;
using test::TempRegKey;

const std::string kEAcute = "\xC3\xA9";

// Stores raw value data below HKEY_CURRENT_USER, for the types and shapes Regfun never writes.
void SetRawValue(const std::string& subKey, const std::string& name, DWORD type, const void* data,
                 DWORD bytes) {
    RegKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, subKey, KEY_SET_VALUE), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key.get(), Widen(name).c_str(), 0, type,
                             static_cast<const BYTE*>(data), bytes),
              ERROR_SUCCESS);
}

void SetWideValue(const std::string& subKey, const std::string& name, DWORD type,
                  const std::wstring& data) {
    SetRawValue(subKey, name, type, data.data(), static_cast<DWORD>(data.size() * sizeof(wchar_t)));
}

// The whole literal, NULs inside it included.
template <std::size_t N>
std::wstring WithNuls(const wchar_t (&text)[N]) {
    return std::wstring(text, N - 1);
}

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

RawValue GetRawValue(const std::string& subKey, const std::string& name) {
    RawValue value;
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, subKey, KEY_READ) != ERROR_SUCCESS) {
        return value;
    }
    DWORD size = 0;
    RegQueryValueExW(key.get(), Widen(name).c_str(), nullptr, &value.type, nullptr, &size);
    value.data.resize(size);
    RegQueryValueExW(key.get(), Widen(name).c_str(), nullptr, &value.type, value.data.data(),
                     &size);
    return value;
}

std::string Repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

TEST(RegfunRoots, NamesMatchExactly) {
    const std::vector<std::pair<std::string, RootKey>> roots = {
        {"HKEY_CLASSES_ROOT", 0x80000000u},     {"HKEY_CURRENT_USER", 0x80000001u},
        {"HKEY_LOCAL_MACHINE", 0x80000002u},    {"HKEY_USERS", 0x80000003u},
        {"HKEY_PERFORMANCE_DATA", 0x80000004u}, {"HKEY_CURRENT_CONFIG", 0x80000005u},
        {"HKEY_DYN_DATA", 0x80000006u},
    };
    for (const auto& [name, root] : roots) {
        EXPECT_EQ(Regfun::RootKeyFromName(name), root) << name;
        EXPECT_EQ(RootKeyName(root), name);
    }
    for (const char* other :
         {"hkey_current_user", "HKEY_Current_User", "HKCU", "HKEY_CURRENT_USER ", "HKEY_", ""}) {
        EXPECT_EQ(Regfun::RootKeyFromName(other), 0u) << other;
    }
    EXPECT_EQ(RootKeyName(0), "");
    EXPECT_EQ(RootKeyName(0x80000007u), "");
}

TEST(RegfunSplit, SplitsAtTheFirstBackslash) {
    RecordingMessages messages;
    Regfun reg(messages);
    RootKey root = 0;

    std::string path = "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer";
    ASSERT_TRUE(reg.SplitKeyPath(path, root));
    EXPECT_EQ(root, kCurrentUser);
    EXPECT_EQ(path, "Software\\Microsoft\\Internet Explorer");

    path = "HKEY_CURRENT_USER";
    ASSERT_TRUE(reg.SplitKeyPath(path, root));
    EXPECT_EQ(root, kCurrentUser);
    EXPECT_EQ(path, "");

    path = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    ASSERT_TRUE(reg.SplitKeyPath(path, root));
    EXPECT_EQ(root, kLocalMachine);
    EXPECT_EQ(path, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");

    // Well formed, but an unknown root: no message, root 0.
    path = "HKEY_NOWHERE\\Software";
    root = kUsers;
    ASSERT_TRUE(reg.SplitKeyPath(path, root));
    EXPECT_EQ(root, 0u);
    EXPECT_EQ(path, "Software");
    EXPECT_TRUE(messages.told.empty());
}

TEST(RegfunSplit, MalformedPathsTellTheUserOnce) {
    for (const std::string bad : {"HKEY_CURRENT_USER\\Software\\", "Software\\Microsoft",
                                  "hkey_current_user\\Software", "HKEY", "", "HKEY_\\"}) {
        RecordingMessages messages;
        Regfun reg(messages);
        std::string path = bad;
        RootKey root = kUsers;
        EXPECT_FALSE(reg.SplitKeyPath(path, root)) << bad;
        EXPECT_EQ(path, bad);
        EXPECT_EQ(root, kUsers);
        ASSERT_EQ(messages.told.size(), 1u) << bad;
        EXPECT_EQ(messages.told[0].text, "Incorrect Format:\n\n" + bad);
        EXPECT_EQ(messages.told[0].title, "Hushmark");
        EXPECT_EQ(messages.told[0].icon, MessageIcon::None);
    }
}

TEST(RegfunSplit, MalformedPathsChangeNothing) {
    TempRegKey temp;
    RecordingMessages messages;
    Regfun reg(messages);
    const std::string lower = "hkey_current_user\\" + temp.subKey();

    reg.CreateRegKey(temp.fullPath() + "\\Made\\");
    reg.SetRegString(lower, "Value", "x");
    reg.CreateRegKey("hkey_current_user\\" + temp.subKey() + "\\Made");
    EXPECT_EQ(reg.GetRegString(lower, "Value"), "");

    EXPECT_FALSE(test::RegKeyExists(temp.subKey() + "\\Made"));
    EXPECT_FALSE(test::RegValueExists(temp.subKey(), "Value"));
    EXPECT_EQ(messages.told.size(), 4u);
}

TEST(RegfunRead, FailuresReadAsErrorAndUnknownRootsAsEmpty) {
    TempRegKey temp;
    RecordingMessages messages;
    Regfun reg(messages);
    test::SetRegText(temp.subKey(), "Present", "x");

    EXPECT_EQ(reg.GetRegString(temp.fullPath() + "\\Missing", "Present"), "Error");
    EXPECT_EQ(reg.GetRegString(temp.fullPath(), "Absent"), "Error");
    EXPECT_EQ(reg.GetRegString("HKEY_NOWHERE\\" + temp.subKey(), "Present"), "");
    EXPECT_TRUE(messages.told.empty());
}

TEST(RegfunRead, LeadingBlanksGoTrailingBlanksStay) {
    TempRegKey temp;
    RecordingMessages messages;
    Regfun reg(messages);
    test::SetRegText(temp.subKey(), "Padded", "  C:\\Data  ");
    test::SetRegText(temp.subKey(), "Empty", "");
    test::SetRegText(temp.subKey(), "Blanks", "   ");

    EXPECT_EQ(reg.GetRegString(temp.fullPath(), "Padded"), "C:\\Data  ");
    EXPECT_EQ(reg.GetRegString(temp.fullPath(), "Empty"), "");
    EXPECT_EQ(reg.GetRegString(temp.fullPath(), "Blanks"), "");
    // The default value of the key has the empty name.
    test::SetRegText(temp.subKey(), "", "default");
    EXPECT_EQ(reg.GetRegString(temp.fullPath(), ""), "default");
}

TEST(RegfunRead, ValuesMustFitTheBufferInTheAnsiCodePage) {
    TempRegKey temp;
    RecordingMessages messages;
    Regfun reg(messages);
    // 254 characters and the NUL fill the 255 bytes exactly.
    test::SetRegText(temp.subKey(), "Fits", std::string(254, 'a'));
    test::SetRegText(temp.subKey(), "OneOver", std::string(255, 'a'));
    test::SetRegText(temp.subKey(), "Long", std::string(300, 'a'));

    EXPECT_EQ(reg.GetRegString(temp.fullPath(), "Fits"), std::string(254, 'a'));
    EXPECT_EQ(reg.GetRegString(temp.fullPath(), "OneOver"), "Error");
    EXPECT_EQ(reg.GetRegString(temp.fullPath(), "Long"), "Error");

    if (GetACP() == 1252) {
        // One byte each in the code page, although two in UTF-8 and in the registry.
        test::SetRegText(temp.subKey(), "AccentsFit", Repeat(kEAcute, 254));
        test::SetRegText(temp.subKey(), "AccentsOver", Repeat(kEAcute, 255));
        EXPECT_EQ(reg.GetRegString(temp.fullPath(), "AccentsFit"), Repeat(kEAcute, 254));
        EXPECT_EQ(reg.GetRegString(temp.fullPath(), "AccentsOver"), "Error");
    }
}

TEST(RegfunRead, TypesAreNotCheckedNorExpanded) {
    TempRegKey temp;
    RecordingMessages messages;
    Regfun reg(messages);
    const std::wstring expand = L"%USERPROFILE%\\Favorites";
    SetWideValue(temp.subKey(), "Expand", REG_EXPAND_SZ,
                 std::wstring(expand.c_str(), expand.size() + 1));
    EXPECT_EQ(reg.GetRegString(temp.fullPath(), "Expand"), "%USERPROFILE%\\Favorites");

    // A number reads as its bytes up to the first NUL, like text.
    const DWORD number = 0x41;
    SetRawValue(temp.subKey(), "Number", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(reg.GetRegString(temp.fullPath(), "Number"), "A");

    const std::vector<BYTE> blob(256, 'b');
    SetRawValue(temp.subKey(), "Blob", REG_BINARY, blob.data(), 256);
    EXPECT_EQ(reg.GetRegString(temp.fullPath(), "Blob"), "Error");
}

// What follows a NUL inside string data must never reach a caller: joined to a sub-folder and
// handed to a system call that stops at the NUL, it would name a far wider folder.
TEST(RegfunRead, AStringEndsAtItsFirstNul) {
    TempRegKey temp;
    RecordingMessages messages;
    Regfun reg(messages);
    const std::wstring expand = WithNuls(L"%USERPROFILE%\\AppData\\Roaming\0C:\\Other\0");
    SetWideValue(temp.subKey(), "AppData", REG_EXPAND_SZ, expand);
    EXPECT_EQ(reg.GetRegString(temp.fullPath(), "AppData"), "%USERPROFILE%\\AppData\\Roaming");
    const std::wstring multi = WithNuls(L"C:\\\0D:\\x\0\0");
    SetWideValue(temp.subKey(), "Multi", REG_MULTI_SZ, multi);
    EXPECT_EQ(reg.GetRegString(temp.fullPath(), "Multi"), "C:\\");
    std::uint32_t type = 0;
    EXPECT_EQ(Regfun::QueryRegValue(kCurrentUser, temp.subKey(), "Multi", type), "C:\\");
}

TEST(RegfunRead, StringsStoredWithoutTheirNulReadWhole) {
    TempRegKey temp;
    RecordingMessages messages;
    Regfun reg(messages);
    // Declared one character short of a non-NUL character, so that nothing terminates it.
    const std::wstring data = L"C:\\BareX";
    SetRawValue(temp.subKey(), "Bare", REG_SZ, data.data(),
                static_cast<DWORD>((data.size() - 1) * sizeof(wchar_t)));
    ASSERT_EQ(GetRawValue(temp.subKey(), "Bare").data.size(), 7 * sizeof(wchar_t));
    EXPECT_EQ(reg.GetRegString(temp.fullPath(), "Bare"), "C:\\Bare");
    std::uint32_t type = 0;
    EXPECT_EQ(Regfun::QueryRegValue(kCurrentUser, temp.subKey(), "Bare", type), "C:\\Bare");
}

TEST(RegfunWrite, SetRegStringOnlyWritesIntoExistingKeys) {
    TempRegKey temp;
    RecordingMessages messages;
    Regfun reg(messages);
    const std::string key = temp.fullPath() + "\\New\\Deeper";

    reg.SetRegString(key, "Start Page", "about:blank");
    EXPECT_FALSE(test::RegKeyExists(temp.subKey() + "\\New"));
    EXPECT_EQ(reg.GetRegString(key, "Start Page"), "Error");

    reg.CreateRegKey(key);
    EXPECT_TRUE(test::RegKeyExists(temp.subKey() + "\\New\\Deeper"));
    reg.SetRegString(key, "Start Page", "about:blank");
    EXPECT_EQ(reg.GetRegString(key, "Start Page"), "about:blank");

    // Creating an existing key keeps its values.
    reg.CreateRegKey(key);
    EXPECT_EQ(reg.GetRegString(key, "Start Page"), "about:blank");
    EXPECT_TRUE(messages.told.empty());
}

TEST(RegfunWrite, SetRegStringStoresAStringWhateverWasThere) {
    TempRegKey temp;
    RecordingMessages messages;
    Regfun reg(messages);
    const DWORD number = 7;
    SetRawValue(temp.subKey(), "Was a number", REG_DWORD, &number, sizeof number);

    reg.SetRegString(temp.fullPath(), "Was a number", "Caf" + kEAcute);
    const RawValue raw = GetRawValue(temp.subKey(), "Was a number");
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
    ASSERT_EQ(raw.data.size(), 5 * sizeof(wchar_t));
    // Terminated, so that every reader of the value stops where the text does.
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(raw.data.data()), 5),
              std::wstring(L"Caf\u00e9") + L'\0');
    EXPECT_EQ(reg.GetRegString(temp.fullPath(), "Was a number"), "Caf" + kEAcute);

    // The empty text is stored as just its NUL.
    reg.SetRegString(temp.fullPath(), "Empty", "");
    const RawValue empty = GetRawValue(temp.subKey(), "Empty");
    EXPECT_EQ(empty.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(empty.data.size(), sizeof(wchar_t));
    EXPECT_EQ(reg.GetRegString(temp.fullPath(), "Empty"), "");
}

TEST(RegfunWrite, TextOutsideTheCodePageSurvivesTheRoundTrip) {
    TempRegKey temp;
    RecordingMessages messages;
    Regfun reg(messages);
    const std::string japanese = "\xE6\x97\xA5\xE6\x9C\xAC";
    reg.SetRegString(temp.fullPath(), "Name", japanese);
    EXPECT_EQ(reg.GetRegString(temp.fullPath(), "Name"), japanese);
}

TEST(RegfunQuery, CutsAtTheFirstNulAndKeepsBlanks) {
    TempRegKey temp;
    test::SetRegText(temp.subKey(), "Padded", "  x  ");
    SetWideValue(temp.subKey(), "Multi", REG_MULTI_SZ, std::wstring(L"first\0second\0\0", 14));
    std::uint32_t type = 0;

    EXPECT_EQ(Regfun::QueryRegValue(kCurrentUser, temp.subKey(), "Padded", type), "  x  ");
    EXPECT_EQ(type, static_cast<std::uint32_t>(REG_SZ));
    EXPECT_EQ(Regfun::QueryRegValue(kCurrentUser, temp.subKey(), "Multi", type), "first");
    EXPECT_EQ(type, static_cast<std::uint32_t>(REG_MULTI_SZ));
}

TEST(RegfunQuery, FailuresReadAsLowerCaseError) {
    TempRegKey temp;
    test::SetRegText(temp.subKey(), "Long", std::string(300, 'a'));
    test::SetRegText(temp.subKey(), "Present", "x");
    std::uint32_t type = 12345;

    EXPECT_EQ(Regfun::QueryRegValue(kCurrentUser, temp.subKey(), "Absent", type), "error");
    EXPECT_EQ(Regfun::QueryRegValue(kCurrentUser, temp.subKey() + "\\Missing", "Present", type),
              "error");
    EXPECT_EQ(Regfun::QueryRegValue(kCurrentUser, temp.subKey(), "Long", type), "error");
    EXPECT_EQ(Regfun::QueryRegValue(0, temp.subKey(), "Present", type), "error");
    EXPECT_EQ(type, 12345u);
}

TEST(RegfunQuery, TrimAtNull) {
    EXPECT_EQ(Regfun::TrimAtNull(std::string("abc\0def", 7)), "abc");
    EXPECT_EQ(Regfun::TrimAtNull("no nul"), "no nul");
    EXPECT_EQ(Regfun::TrimAtNull(std::string("\0x", 2)), "");
    EXPECT_EQ(Regfun::TrimAtNull(""), "");
}

}  // namespace
}  // namespace hm
