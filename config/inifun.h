// Profile (INI) file routines used for the settings file and the plug-in item files. The files
// are in the system's ANSI code page; section and key names match without regard to case.
#pragma once

#include <string>
#include <vector>

namespace hm {

// The value, blanks trimmed at both ends, at most 127 characters; empty when the file, section
// or key is missing, or when the file cannot be read as a profile file (a folder, a file held
// open by another program, a file over 4 MiB, or a path that is not absolute).
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

// "major.minor" of the running Windows, for example "6.1".
std::string GetWindowsVersion();

}  // namespace hm
