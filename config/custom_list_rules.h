// Parsing and formatting of the custom items list text, free of any platform call.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hm {

struct CustomLine {
    std::string path;
    std::string type;      // second TAB field; "File" and "Folder" are the only types acted on
    bool hasType = false;  // false for a line without a TAB
};

// Splits text into lines (CR LF, LF or CR ends) and each line at TAB characters. Empty lines
// are dropped.
std::vector<CustomLine> ParseCustomList(std::string_view text);

// path TAB type CR LF for each item; items whose path or type holds a TAB, CR, LF or NUL cannot
// be stored and are left out.
std::string FormatCustomList(const std::vector<CustomLine>& items);

bool IsCustomFile(const CustomLine& line);
bool IsCustomFolder(const CustomLine& line);

}  // namespace hm
