#include "config/custom_list_rules.h"

namespace hm {
namespace {

CustomLine ParseLine(std::string_view line) {
    CustomLine parsed;
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) {
        parsed.path = std::string(line);
        return parsed;
    }
    parsed.path = std::string(line.substr(0, tab));
    const std::string_view rest = line.substr(tab + 1);
    // Fields after the second are ignored, as both readers only ever look at two.
    parsed.type = std::string(rest.substr(0, rest.find('\t')));
    parsed.hasType = true;
    return parsed;
}

// The format has no quoting: a field holding a separator would split into other lines or
// fields on the way back, and a NUL can be no part of a path.
bool Storable(std::string_view field) {
    return field.find_first_of(std::string_view("\t\r\n\0", 4)) == std::string_view::npos;
}

}  // namespace

std::vector<CustomLine> ParseCustomList(std::string_view text) {
    std::vector<CustomLine> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        if (end > start) {
            lines.push_back(ParseLine(text.substr(start, end - start)));
        }
        start = end;
        if (start < text.size()) {
            const bool crlf =
                text[start] == '\r' && start + 1 < text.size() && text[start + 1] == '\n';
            start += crlf ? 2 : 1;
        }
    }
    return lines;
}

std::string FormatCustomList(const std::vector<CustomLine>& items) {
    std::string text;
    for (const CustomLine& item : items) {
        if (!Storable(item.path) || !Storable(item.type)) {
            continue;
        }
        text += item.path;
        text += '\t';
        text += item.type;
        text += "\r\n";
    }
    return text;
}

bool IsCustomFile(const CustomLine& line) {
    return line.hasType && line.type == "File";
}

bool IsCustomFolder(const CustomLine& line) {
    return line.hasType && line.type == "Folder";
}

}  // namespace hm
