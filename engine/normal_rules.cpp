#include "engine/normal_rules.h"

#include <algorithm>
#include <array>
#include <utility>

namespace hm {
namespace {

// How many bytes of UTF-8 text hold the first `units` UTF-16 code units: the dialog's folder
// is measured in the system's characters, not in bytes.
size_t BytesForUtf16Units(std::string_view text, size_t units) {
    size_t at = 0;
    while (units > 0 && at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        size_t length = 1;
        size_t taken = 1;
        if (lead >= 0xF0) {
            length = 4;
            taken = 2;  // a surrogate pair
        } else if (lead >= 0xE0) {
            length = 3;
        } else if (lead >= 0xC0) {
            length = 2;
        }
        at = std::min(text.size(), at + length);
        units = units > taken ? units - taken : 0;
    }
    return at;
}

size_t Utf16Length(std::string_view text) {
    size_t units = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) {
            units += byte >= 0xF0 ? 2 : 1;
        }
    }
    return units;
}

}  // namespace

std::string ExpandUserProfile(std::string_view text, std::string_view userProfile) {
    constexpr std::string_view kToken = "%USERPROFILE%";
    const size_t at = text.find(kToken);
    if (at == std::string_view::npos) {
        return std::string(text);
    }
    std::string expanded(userProfile);
    expanded.append(text.substr(at + kToken.size()));
    return expanded;
}

std::string OfficeGenerationOf(const OfficeProbeResult& probe) {
    // A failed creation wins over whatever the text says: the version was never read.
    if (!probe.created) {
        return "NoOffice";
    }
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kGenerations{{
        {"8", "Office97"},
        {"9", "Office2000"},
        {"10", "Office2002"},
        {"11", "Office2003"},
        {"12", "Office2007"},
        {"14", "Office2010"},
    }};
    for (const auto& [mark, generation] : kGenerations) {
        if (probe.version.find(mark) != std::string::npos) {
            return std::string(generation);
        }
    }
    return {};
}

FileSelection ParseFileSelection(std::string_view dialogText, std::string_view currentFolder) {
    FileSelection selection;
    const std::string_view rest =
        dialogText.substr(BytesForUtf16Units(dialogText, Utf16Length(currentFolder)));
    if (rest.empty() || rest.front() != '\0') {
        selection.count = 1;
        selection.names.emplace_back(rest.substr(!rest.empty() && rest.front() == '\\' ? 1 : 0));
    } else {
        for (const char c : rest) {
            if (c == '\0') {
                ++selection.count;
                selection.names.emplace_back();
            } else {
                selection.names.back().push_back(c);
            }
        }
    }
    selection.folder = std::string(currentFolder);
    if (selection.folder.empty() || selection.folder.back() != '\\') {
        selection.folder.push_back('\\');
    }
    return selection;
}

}  // namespace hm
