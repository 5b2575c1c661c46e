// Profile (INI) file routines used for the settings file and the plug-in item files. The files
// are in the system's ANSI code page; section and key names match without regard to case.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hm {

// Whether a profile file may be read and written. A file over 4 MiB is not read (it is no
// settings file, and reading it key by key would stall the pass); a file over 2 MiB is not
// written, so that a file the program writes can always be read back. A path that is not
// absolute, or a folder, is neither. A missing file is both: it reads as empty and the first
// write creates it.
struct IniFileFit {
    bool readable = true;
    bool writable = true;
    std::uint64_t size = 0;
};
IniFileFit CheckIniFile(const std::string& file);

// The value, blanks trimmed at both ends, at most 127 characters; empty when the file, section
// or key is missing, or when the file cannot be read as a profile file (a folder, a file held
// open by another program, a file too large to read, or a path that is not absolute).
std::string ReadIniValue(const std::string& file, const std::string& section,
                         const std::string& key);

// Writes key=value into the section, creating the file, section or key as needed. Values longer
// than 128 characters are cut to their first 128. A refused write fails silently, and so does a
// write into a file that reads as empty for the reasons above.
void WriteIniValue(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value);

// Every value line ("key=value") of the section in file order; empty when the section is empty
// or missing. Note the argument order: section first.
std::vector<std::string> ReadIniSection(const std::string& section, const std::string& file);

// The names of the file's sections in file order.
std::vector<std::string> ReadIniSectionNames(const std::string& file);

// Removes the section with all its keys; a Win32 error code, 0 on success.
std::uint32_t RemoveIniSection(const std::string& file, const std::string& section);

// Whether RemoveIniSection could rewrite the file: 0 when it may be opened for writing.
std::uint32_t CanRewriteIniFile(const std::string& file);

// "major.minor" of the running Windows, for example "6.1".
std::string GetWindowsVersion();

}  // namespace hm
