// The plug-in item files ("plus-in\<appname>.hmx"): profile-file syntax whose action sections name
// registry keys, values, files and folders to erase. These are the rules for their lines, with no
// file or system access, so that any text can be thrown at them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hm {

// The extension of a plug-in file, compared without regard to case.
inline constexpr const char* kPluginExtension = "hmx";

// The file a plug-in row stands for, where the pass reads its actions and "OK" writes its
// switch: program folder & "\plus-in\" & appname & ".hmx". Empty when the appname is no plain
// file name (empty, or holding a path separator, a drive colon or another character no file name
// may hold), which would lead outside the plug-in folder, to whatever file the name reaches.
std::string PluginSwitchFile(std::string_view programFolder, std::string_view appname);

// The action sections, in the order a plug-in runs them.
enum class PluginSection { RegTree, RegValue, File, FileExt, Folder };
inline constexpr PluginSection kPluginSections[] = {PluginSection::RegTree, PluginSection::RegValue,
                                                    PluginSection::File, PluginSection::FileExt,
                                                    PluginSection::Folder};
// "regtree", "reg", "file", "fileext", "folder"
const char* PluginSectionName(PluginSection section);

// One action line, ready to run. root is the registry root as the program's 32-bit constant
// (0x80000001 for HKEY_CURRENT_USER); folder is the base already resolved and the folder part
// appended.
struct PluginAction {
    PluginSection section = PluginSection::RegTree;
    std::uint32_t root = 0;
    std::string subKey;
    std::string valueName;  // "reg"
    std::string folder;     // "file", "fileext", "folder"
    std::string name;       // the file name ("file") or the extension ("fileext")
};

// The text after the first "=" of a section line; the whole line when it holds none.
std::string_view PluginLineValue(std::string_view line);

// A root field as a signed 32-bit number: decimal with an optional sign, or "&H" (or "&h")
// followed by up to eight hex digits; blanks around it are allowed. Nothing for anything else,
// and for decimals beyond the signed 32-bit range.
std::optional<std::int32_t> ParsePluginRoot(std::string_view field);

// "appdata" and "localappdata" (exactly, in lower case) stand for those folders; any other text
// starts the path as it stands.
std::string PluginBase(std::string_view base, const std::string& appData,
                       const std::string& localAppData);

// The action a line of the section asks for; nothing when the line has too few fields or its
// root does not convert. Fields are separated by "," and used as they stand.
std::optional<PluginAction> ParsePluginLine(PluginSection section, std::string_view line,
                                            const std::string& appData,
                                            const std::string& localAppData);

}  // namespace hm
