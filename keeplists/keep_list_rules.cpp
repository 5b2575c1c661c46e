#include "keeplists/keep_list_rules.h"

#include <algorithm>

namespace hm {
namespace {

// Calls line(begin, length) for each line of the text, as SplitKeepListLines describes.
template <class Line>
void ForEachLine(std::string_view text, Line&& line) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            line(text.substr(start));
            return;
        }
        line(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') {
            ++start;
        }
    }
}

}  // namespace

std::string_view RightTrim(std::string_view text) {
    const std::size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

std::vector<std::string> SplitKeepListLines(std::string_view text) {
    std::vector<std::string> lines;
    ForEachLine(text, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::vector<std::string> RightTrimmedLines(std::string_view text) {
    std::vector<std::string> lines;
    ForEachLine(text, [&](std::string_view line) { lines.emplace_back(RightTrim(line)); });
    return lines;
}

std::string FormatKeepListLine(std::string_view entry) {
    std::string line(RightTrim(entry));
    line += "\r\n";
    return line;
}

std::string FormatKeepList(std::span<const std::string> entries) {
    std::string text;
    for (const std::string& entry : entries) {
        text += FormatKeepListLine(entry);
    }
    return text;
}

std::string_view SeparatorBeforeAppend(std::string_view existingTail) {
    if (existingTail.empty() || existingTail.back() == '\n' || existingTail.back() == '\r') {
        return {};
    }
    return "\r\n";
}

bool IsCookieFileName(std::string_view name) {
    return name.find(".txt") != std::string_view::npos;
}

bool IsKeptCookie(std::string_view fullPath, std::span<const std::string> keptLines) {
    return std::find(keptLines.begin(), keptLines.end(), fullPath) != keptLines.end();
}

std::vector<std::string> WithoutIndices(std::span<const std::string> entries,
                                        std::span<const int> removed) {
    std::vector<bool> gone(entries.size(), false);
    for (const int index : removed) {
        if (index >= 0 && static_cast<std::size_t>(index) < entries.size()) {
            gone[static_cast<std::size_t>(index)] = true;
        }
    }
    std::vector<std::string> kept;
    for (std::size_t index = 0; index < entries.size(); ++index) {
        if (!gone[index]) {
            kept.push_back(entries[index]);
        }
    }
    return kept;
}

int ListTextWidthFromWidths(std::span<const int> textWidths) {
    if (textWidths.empty()) {
        return 0;
    }
    return *std::max_element(textWidths.begin(), textWidths.end()) + kListTextPadding;
}

std::string TextForEditBox(std::string_view text) {
    std::string shown;
    shown.reserve(text.size() + text.size() / 16);
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '\r' || c == '\n') {
            shown += "\r\n";
            if (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n') {
                ++at;
            }
        } else {
            shown += c == '\0' ? ' ' : c;
        }
    }
    return shown;
}

}  // namespace hm
