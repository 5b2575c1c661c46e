// Path text rules shared by every module. Paths are Windows paths in UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace hm {

// folder & "\" & name; the folder is never assumed to end with a backslash.
std::string JoinPath(std::string_view folder, std::string_view name);

// True for "X:\..." and for "\\server\share..." paths: the only forms whose meaning does not
// depend on the process's current drive and folder. False for any text holding a NUL.
bool IsAbsolutePath(std::string_view path);

// The part after the last backslash (or slash).
std::string_view FileNameOf(std::string_view path);

// The folder part before the last backslash; empty when there is none.
std::string_view ParentOf(std::string_view path);

// The text after the last "." of the file name; empty when the name has no dot.
std::string_view ExtensionOf(std::string_view fileName);

// ASCII-only lower-casing, for keys and names the program itself defines.
std::string AsciiLower(std::string_view text);

// Blanks (spaces) removed at both ends, as the settings readers trim.
std::string_view TrimBlanks(std::string_view text);

}  // namespace hm
