#include "regclean/finding_rules.h"

#include <cstdio>

#include "regclean/utf16_rules.h"

namespace hm::regclean {
namespace {

std::string Printable(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = ' ';
        }
    }
    return out;
}

}  // namespace

std::string_view CategoryId(Category category) {
    switch (category) {
        case Category::SharedDll:
            return "shared-dll";
        case Category::AppPath:
            return "app-path";
        case Category::Run:
            return "run";
        case Category::MuiCache:
            return "mui-cache";
        case Category::OpenWith:
            return "open-with";
        case Category::Uninstall:
            return "uninstall";
        case Category::FileType:
            return "file-type";
    }
    return "unknown";
}

std::string_view CategoryTitle(Category category) {
    switch (category) {
        case Category::SharedDll:
            return "Shared DLLs";
        case Category::AppPath:
            return "App Paths";
        case Category::Run:
            return "Start-up (Run)";
        case Category::MuiCache:
            return "MUI cache";
        case Category::OpenWith:
            return "Open with";
        case Category::Uninstall:
            return "Uninstall";
        case Category::FileType:
            return "File types";
    }
    return "Unknown";
}

bool TickedByDefault(Category category) {
    return category != Category::Uninstall;
}

std::string FindingLine(const Finding& finding) {
    return std::string(CategoryId(finding.category)) + "\t" + Printable(finding.key) + "\t" +
           Printable(finding.value) + "\t" + Printable(finding.pointsAt);
}

std::string MruWithout(std::string_view data, char letter) {
    std::u16string units = UnitsOf(data);
    std::u16string kept;
    for (char16_t unit : units) {
        if (unit != static_cast<char16_t>(static_cast<unsigned char>(letter))) {
            kept.push_back(unit);
        }
    }
    std::string bytes = BytesOf(kept);
    if (data.size() % 2 != 0) {
        bytes.push_back(data.back());
    }
    return bytes;
}

std::string BackupFileName(int year, int month, int day, int hour, int minute, int second,
                           int attempt) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "Registry backup %04d-%02d-%02d %02d-%02d-%02d", year, month,
                  day, hour, minute, second);
    std::string name = stamp;
    if (attempt > 1) {
        name += " (" + std::to_string(attempt) + ")";
    }
    return name + ".reg";
}

}  // namespace hm::regclean
