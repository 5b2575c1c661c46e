#include "config/plugin_rules.h"

#include <limits>

#include "platform/path_rules.h"

namespace hm {
namespace {

std::vector<std::string_view> Fields(std::string_view value) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        const size_t comma = value.find(',', start);
        fields.push_back(value.substr(start, comma == std::string_view::npos ? value.npos
                                                                             : comma - start));
        if (comma == std::string_view::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

std::string_view TrimSpaces(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

const char* PluginSectionName(PluginSection section) {
    switch (section) {
        case PluginSection::RegTree:
            return "regtree";
        case PluginSection::RegValue:
            return "reg";
        case PluginSection::File:
            return "file";
        case PluginSection::FileExt:
            return "fileext";
        case PluginSection::Folder:
            return "folder";
    }
    return "";
}

std::string_view PluginLineValue(std::string_view line) {
    const size_t equals = line.find('=');
    return equals == std::string_view::npos ? line : line.substr(equals + 1);
}

std::optional<std::int32_t> ParsePluginRoot(std::string_view field) {
    const std::string_view text = TrimSpaces(field);
    if (text.size() > 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h')) {
        const std::string_view digits = text.substr(2);
        if (digits.size() > 8) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        for (const char c : digits) {
            const int digit = HexDigit(c);
            if (digit < 0) {
                return std::nullopt;
            }
            value = value * 16 + static_cast<std::uint32_t>(digit);
        }
        return static_cast<std::int32_t>(value);
    }
    size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    if (at == text.size()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < '0' || text[at] > '9') {
            return std::nullopt;
        }
        value = value * 10 + (text[at] - '0');
        if (value > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1) {
            return std::nullopt;
        }
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::string PluginBase(std::string_view base, const std::string& appData,
                       const std::string& localAppData) {
    if (base == "appdata") {
        return appData;
    }
    if (base == "localappdata") {
        return localAppData;
    }
    return std::string(base);
}

std::optional<PluginAction> ParsePluginLine(PluginSection section, std::string_view line,
                                            const std::string& appData,
                                            const std::string& localAppData) {
    const std::vector<std::string_view> fields = Fields(PluginLineValue(line));
    PluginAction action;
    action.section = section;
    switch (section) {
        case PluginSection::RegTree:
        case PluginSection::RegValue: {
            const size_t needed = section == PluginSection::RegTree ? 2 : 3;
            if (fields.size() < needed) {
                return std::nullopt;
            }
            const std::optional<std::int32_t> root = ParsePluginRoot(fields[0]);
            if (!root) {
                return std::nullopt;
            }
            action.root = static_cast<std::uint32_t>(*root);
            action.subKey = std::string(fields[1]);
            if (section == PluginSection::RegValue) {
                action.valueName = std::string(fields[2]);
            }
            return action;
        }
        case PluginSection::File:
        case PluginSection::FileExt:
        case PluginSection::Folder: {
            const size_t needed = section == PluginSection::Folder ? 2 : 3;
            if (fields.size() < needed) {
                return std::nullopt;
            }
            action.folder = PluginBase(fields[0], appData, localAppData) + std::string(fields[1]);
            if (section != PluginSection::Folder) {
                action.name = std::string(fields[2]);
            }
            return action;
        }
    }
    return std::nullopt;
}

std::string PluginSwitchFile(std::string_view programFolder, std::string_view appname) {
    if (appname.empty()) {
        return {};
    }
    for (char c : appname) {
        if (static_cast<unsigned char>(c) < 0x20 ||
            std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
            return {};
        }
    }
    return JoinPath(JoinPath(programFolder, "plus-in"),
                    std::string(appname) + "." + kPluginExtension);
}


}  // namespace hm
