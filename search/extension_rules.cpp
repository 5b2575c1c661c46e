#include "search/extension_rules.h"

#include "keeplists/keep_list_rules.h"

namespace hm::search {

bool IsValidExtension(std::string_view text) {
    return text.size() >= 3 && text[0] == '*' && text[1] == '.';
}

std::vector<std::string> ExtensionLines(std::string_view fileText) {
    return SplitKeepListLines(fileText);
}

std::vector<std::string> ValidExtensionLines(std::string_view fileText) {
    std::vector<std::string> valid;
    for (std::string& line : ExtensionLines(fileText)) {
        if (IsValidExtension(line)) {
            valid.push_back(std::move(line));
        }
    }
    return valid;
}

std::string PatternTextOf(std::string_view fileText) {
    std::string text;
    for (const std::string& line : ValidExtensionLines(fileText)) {
        text += text.empty() ? line : ";" + line;
    }
    return text;
}

std::string DefaultExtensionsText() {
    std::string text;
    for (std::string_view line : kDefaultExtensions) {
        text += std::string(line) + "\r\n";
    }
    return text;
}

std::string WithoutExtension(std::string_view fileText, std::string_view selected) {
    std::string text;
    for (const std::string& line : ExtensionLines(fileText)) {
        if (line != selected) {
            text += line + "\r\n";
        }
    }
    return text;
}

std::string WithExtensionAppended(std::string_view fileText, std::string_view entry) {
    return std::string(fileText) + std::string(SeparatorBeforeAppend(fileText)) +
           std::string(entry) + "\r\n";
}

}  // namespace hm::search
