// The extension list file "Ext.txt" in the program folder, in the system's ANSI code page, and
// the move of a found file to the Recycle Bin. Every routine carries on after a failure: a file
// that cannot be read reads as empty, one that cannot be written stays as it was.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hm::ExtentionHandller {

bool IsValidExtension(std::string_view text);

// The valid lines of Ext.txt joined by ";"; empty when the file is missing or holds none.
std::string ReadExtensionPatterns(const std::string& programFolder);

// The valid lines of Ext.txt in file order, as the extension dialog lists them.
std::vector<std::string> ReadExtensionList(const std::string& programFolder);

// Adds the text as one line at the end of Ext.txt, making the file when it is missing.
void AppendExtension(const std::string& programFolder, std::string_view text);

// Ext.txt holds the four default lines and nothing else.
void WriteDefaultExtensions(const std::string& programFolder);

// Takes every line equal to the selected text out of Ext.txt. Nothing happens when the file is
// missing.
void RemoveExtension(const std::string& programFolder, std::string_view selected);

// Moves the file (a full path) to the Recycle Bin without asking or showing anything; a file
// that cannot be moved stays where it is.
void RecycleFile(const std::string& path);

}  // namespace hm::ExtentionHandller
