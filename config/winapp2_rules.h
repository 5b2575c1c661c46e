// Community cleaning rules in the winapp2.ini format: the reader, the path variables, wildcard
// matching, exclusions and the safety rules that refuse a rule. No file or system access here, so
// that any text can be thrown at it; engine/winapp2.h looks at the machine.
//
// A rule file is a profile-style text: sections "[Name *]", each one rule, with the keys
//   LangSecRef=3021 | Section=Name       the group the rule is listed under
//   Detect[N]=HKCU\Software\App          a registry key whose presence means the rule applies
//   DetectFile[N]=%ProgramFiles%\App     a file or folder (variables and wildcards allowed)
//   Default=True|False   Warning=text    shown before the rule is ticked
//   FileKeyN=folder|pattern[;pattern...][|RECURSE][|REMOVESELF]
//   RegKeyN=key[|value]
//   ExcludeKeyN=FILE|folder|patterns  or  FILE|folder\file   (files directly in the folder)
//              PATH|folder[|patterns]                      (files below the folder, and the folder)
//              REG|key[|value]
// Text is UTF-8 inside; paths are Windows paths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/regfun.h"

namespace hm {

struct Winapp2RegPath {
    RootKey root = 0;
    std::string subKey;  // never empty, no empty parts, no trailing backslash
};

struct Winapp2FileKey {
    std::string key;                    // "FileKey3", for messages
    std::string folder;                 // as written
    std::vector<std::string> patterns;  // split at ";", blanks trimmed; never empty
    bool recurse = false;
    bool removeSelf = false;  // folders left empty go, the folder itself included; recurses too
};

struct Winapp2RegKey {
    std::string key;  // "RegKey2"
    Winapp2RegPath path;
    std::optional<std::string> value;  // the one value to remove; the whole key when absent
};

enum class Winapp2ExcludeKind { File, Path, Reg };

struct Winapp2Exclude {
    std::string key;  // "ExcludeKey1"
    Winapp2ExcludeKind kind = Winapp2ExcludeKind::File;
    std::string folder;                 // File, Path: as written
    std::vector<std::string> patterns;  // File: never empty; Path: empty means every file
    Winapp2RegPath reg;                 // Reg
    std::optional<std::string> value;   // Reg: one value; the key with all below when absent
};

struct Winapp2Rule {
    std::string name;  // the section name without its trailing " *"
    int langSecRef = 0;
    std::string section;
    std::vector<Winapp2RegPath> detectKeys;
    std::vector<std::string> detectFiles;
    bool defaultOn = false;
    std::string warning;
    std::vector<Winapp2FileKey> fileKeys;
    std::vector<Winapp2RegKey> regKeys;
    std::vector<Winapp2Exclude> excludes;
    // Why the rule cannot run as written (an action or exclusion line that cannot be read);
    // empty when every such line was read.
    std::string problem;
};

struct Winapp2Rules {
    std::vector<Winapp2Rule> rules;    // in file order
    std::size_t unknownKeys = 0;       // keys this reader does not know (ignored)
    std::size_t malformedLines = 0;    // lines that are no comment, section or key=value, keys
                                       // outside any section, values that cannot be read
    std::size_t repeatedSections = 0;  // a second section of a name already read (ignored)
};

// The file's bytes as UTF-8: a UTF-8 byte-order mark is dropped, UTF-16 (either order, with its
// mark) is converted, and bytes that are no UTF-8 become U+FFFD.
std::string Winapp2Text(std::string_view bytes);

// Reads a whole rule file. Never fails: what cannot be read is counted and skipped, and a rule
// whose action or exclusion line cannot be read carries that as its problem.
Winapp2Rules ParseWinapp2(std::string_view bytes);

// "HKCU\Software\App" (short or long root names, any case); nothing for an unknown root, the
// root alone, or an empty part.
std::optional<Winapp2RegPath> ParseWinapp2Key(std::string_view text);

// The name of the group a rule is listed under: its Section, else the name of its LangSecRef
// number, else "Other".
std::string Winapp2GroupName(const Winapp2Rule& rule);

// Whether the name can be a key of the settings file, where ticks are stored.
bool IsStorableTickName(std::string_view name);

// --- Variables ---------------------------------------------------------------------------
// The folders a variable stands for (the name in lower case, without the "%"); empty when it is
// unknown. %ProgramFiles% stands for both program-files folders of a 64-bit system.
using Winapp2Variables = std::function<std::vector<std::string>(const std::string& lowerName)>;

struct Winapp2Expansion {
    std::vector<std::string> paths;  // normalised (see NormaliseWinapp2Path)
    std::string unexpanded;          // the first "%name%" no folder was found for, as written
    bool tooMany = false;            // the variables would give more than kWinapp2MaxForms paths
};
inline constexpr std::size_t kWinapp2MaxForms = 16;

Winapp2Expansion ExpandWinapp2Path(std::string_view path, const Winapp2Variables& variables);

// "/" becomes "\", repeated backslashes one (a leading "\\" stays), trailing backslashes go
// except after a drive ("C:\").
std::string NormaliseWinapp2Path(std::string_view path);

// Why a (normalised) path can never be acted on: an unexpanded variable, a network path, a path
// that is not full, a "." or ".." part, a part ending in a dot or blank (the system would drop
// them and mean another folder), or a character no path holds. Empty when it can.
std::string Winapp2PathRefusal(std::string_view path);

// --- Wildcards ---------------------------------------------------------------------------
// "*" any run of characters, "?" one character; letters A-Z match without regard to case (the
// engine lower-cases other letters itself). A pattern ending in ".*" also matches the name
// without that ending, as "*.*" matches every name.
bool Winapp2Matches(std::string_view pattern, std::string_view name);
bool HasWildcard(std::string_view text);
// A pattern made only of "*", "?" and "." with at least one "*": it selects (nearly) every name.
bool SelectsEverything(std::string_view pattern);

// The parts of a path between backslashes ("C:\a\b" gives "C:", "a", "b").
std::vector<std::string_view> Winapp2PathParts(std::string_view path);

// --- Safety ------------------------------------------------------------------------------
// Why a file key may not act on the given folder (a concrete folder the key resolved to, lower
// case): the key recurses, removes folders or has a pattern that selects everything, and the
// folder is a drive root, one of the protected folders (lower case), or a folder holding one.
// The reason shows the folder as shown (the same path as the user knows it) when given.
std::string FileKeyFolderRefusal(const Winapp2FileKey& key, std::string_view folder,
                                 const std::vector<std::string>& protectedFolders,
                                 std::string_view shown = {});

// The same before wildcards are resolved: a key that acts widely on folders picked by wildcards
// right inside a drive root or a protected folder (every part after it holds a wildcard) would
// reach whatever is installed or stored there. path is an expanded, normalised key folder in
// lower case; shown, when given, the same path as written.
std::string FileKeyWildcardRefusal(const Winapp2FileKey& key, std::string_view path,
                                   const std::vector<std::string>& protectedFolders,
                                   std::string_view shown = {});

// Why a registry key may not go whole: it sits right below its root, or it is (or holds) a key
// the system and every program depend on. A single value may always go.
std::string RegKeyRefusal(const Winapp2RegKey& key);

// --- Exclusions --------------------------------------------------------------------------
// A file or path exclusion with its folder expanded and lower-cased.
struct Winapp2FileExclusion {
    bool below = false;                 // PATH: files at any depth below, and the folders
    std::vector<std::string> folder;    // parts, may hold wildcards
    std::vector<std::string> patterns;  // lower case; empty means every file
};

Winapp2FileExclusion MakeFileExclusion(const Winapp2Exclude& exclude, std::string_view folder);

// Whether a file (its full path, lower case) is kept by one of the exclusions.
bool IsFileExcluded(const std::vector<Winapp2FileExclusion>& exclusions, std::string_view path);
// Whether a folder (full path, lower case) must stay: it is a PATH exclusion's folder or below.
bool IsFolderExcluded(const std::vector<Winapp2FileExclusion>& exclusions, std::string_view folder);

// Registry exclusions (names compared without regard to case): whether a key (value null) or a
// value is kept, and whether a key holds something kept, so that it can only go piece by piece.
bool IsRegExcluded(const std::vector<Winapp2Exclude>& exclusions, RootKey root,
                   std::string_view subKey, const std::string* value);
bool HoldsRegExclusion(const std::vector<Winapp2Exclude>& exclusions, RootKey root,
                       std::string_view subKey);

// ASCII lower case, for names compared without regard to case.
std::string Winapp2Lower(std::string_view text);

}  // namespace hm
