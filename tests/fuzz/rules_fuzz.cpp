// Feeds arbitrary bytes to the text rules that read files and user input: the custom items
// list, settings values and section buffers, numbers, the open-file dialog's selection, the lines
// of plug-in item files.
// Build with clang's libFuzzer (scripts/fuzz); a broken invariant aborts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "config/custom_list_rules.h"
#include "config/ini_rules.h"
#include "config/plugin_rules.h"
#include "engine/format_rules.h"
#include "engine/normal_rules.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

size_t Utf16Units(std::string_view utf8) {
    size_t units = 0;
    for (unsigned char c : utf8) {
        if ((c & 0xC0) != 0x80) {
            units += c >= 0xF0 ? 2 : 1;
        }
    }
    return units;
}

// The settings routines get their text from the UTF-16 conversion, so it is always valid UTF-8.
bool IsUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        size_t extra = 0;
        if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
        } else if (lead >= 0x80) {
            return false;
        }
        if (i + extra >= text.size() && extra > 0) {
            return false;
        }
        for (size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += extra + 1;
    }
    return true;
}

bool Storable(const std::string& text) {
    return text.find_first_of(std::string("\t\r\n\0", 4)) == std::string::npos;
}

void CustomListRoundTrip(std::string_view text) {
    std::vector<hm::CustomLine> storable;
    for (const hm::CustomLine& line : hm::ParseCustomList(text)) {
        Require(line.path.find_first_of("\r\n") == std::string::npos);
        if (line.hasType && Storable(line.path) && Storable(line.type)) {
            storable.push_back(line);
        }
    }
    const std::vector<hm::CustomLine> again = hm::ParseCustomList(hm::FormatCustomList(storable));
    Require(again.size() == storable.size());
    for (size_t i = 0; i < again.size(); ++i) {
        Require(again[i].path == storable[i].path && again[i].type == storable[i].type);
    }
}

void SettingsValues(std::string_view text) {
    if (!IsUtf8(text)) {
        return;
    }
    const std::string read = hm::IniValueAsRead(text);
    Require(Utf16Units(read) <= 127);
    Require(read.empty() || (read.front() != ' ' && read.back() != ' '));
    Require(Utf16Units(hm::IniValueAsWritten(text)) <= 128);
    for (const std::string& line : hm::SplitSectionBuffer(text)) {
        Require(!line.empty() && line.find('\0') == std::string::npos);
    }
}

void Numbers(std::string_view text) {
    double value = 0;
    if (hm::ParseNumber(text, value)) {
        Require(!hm::NumberText(value).empty());
        Require(hm::MegabyteText(value).find('.') != std::string::npos);
    }
}

void Selection(std::string_view text) {
    const size_t cut = text.empty() ? 0 : static_cast<unsigned char>(text[0]) % (text.size() + 1);
    const hm::FileSelection selection =
        hm::ParseFileSelection(text, std::string_view(text).substr(0, cut));
    Require(selection.count >= 0);
    Require(static_cast<size_t>(selection.count) == selection.names.size());
    Require(!selection.folder.empty() && selection.folder.back() == '\\');
}

// A plug-in line never yields more than it holds: no field keeps a comma, a root converts back
// to the text's number, and a base other than the two names stays as it was written.
void PluginLines(std::string_view text) {
    const std::string appData = "C:\\A";
    const std::string localAppData = "C:\\L";
    for (const hm::PluginSection section : hm::kPluginSections) {
        const std::optional<hm::PluginAction> action =
            hm::ParsePluginLine(section, text, appData, localAppData);
        if (!action) {
            continue;
        }
        Require(action->section == section);
        Require(action->subKey.find(',') == std::string::npos);
        Require(action->valueName.find(',') == std::string::npos);
        Require(action->name.find(',') == std::string::npos);
        const std::string_view value = hm::PluginLineValue(text);
        if (section == hm::PluginSection::RegTree || section == hm::PluginSection::RegValue) {
            const std::optional<std::int32_t> root =
                hm::ParsePluginRoot(value.substr(0, value.find(',')));
            Require(root && static_cast<std::uint32_t>(*root) == action->root);
            Require(action->folder.empty());
        } else {
            Require(action->folder.size() <= value.size() + localAppData.size());
            Require(action->root == 0 && action->subKey.empty());
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CustomListRoundTrip(text);
    SettingsValues(text);
    Numbers(text);
    Selection(text);
    PluginLines(text);
    return 0;
}
