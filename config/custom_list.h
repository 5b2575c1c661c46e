// The custom items list "cusd.dat": one line per item, full path, TAB, "File" or "Folder", in the
// ANSI code page with CR LF line ends, written whole.
#pragma once

#include <string>
#include <vector>

#include "config/custom_list_rules.h"

namespace hm {

// program folder & "\cusd.dat"
std::string CustomListPath(const std::string& programFolder);

// Reads the lines of the file as stored (no existence filtering). Returns false when the file
// does not exist or cannot be read; lines is then empty.
bool ReadCustomListFile(const std::string& file, std::vector<CustomLine>& lines);

// Lines that both readers act on: the type is exactly "File" or "Folder" and the path exists.
std::vector<CustomLine> UsableCustomItems(const std::vector<CustomLine>& lines);

// Writes one line per item (an empty list gives an empty file) into a new file beside it, which
// then replaces the old one in one step: a failure at any point leaves the old list whole.
// Returns false when the list could not be stored.
bool WriteCustomListFile(const std::string& file, const std::vector<CustomLine>& items);

}  // namespace hm
