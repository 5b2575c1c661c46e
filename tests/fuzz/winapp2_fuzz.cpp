// Feeds arbitrary bytes to the reader of winapp2.ini rule files and to the path, wildcard and
// safety rules every line of such a file passes through.
// Build with clang's libFuzzer (scripts/fuzz); a broken invariant aborts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "config/winapp2_rules.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::vector<std::string> Folders(const std::string& name) {
    if (name == "programfiles") {
        return {"C:\\Program Files", "C:\\Program Files (x86)\\"};
    }
    if (name == "appdata") {
        return {"C:\\Users\\u\\AppData\\Roaming"};
    }
    if (name == "systemdrive") {
        return {"C:"};
    }
    return {};
}

const std::vector<std::string> kProtected = {"c:\\windows", "c:\\program files", "c:\\users\\u"};

// Every path a rule names comes out of expansion normalised, or refused for a reason.
void CheckPath(std::string_view written) {
    const hm::Winapp2Expansion expansion = hm::ExpandWinapp2Path(written, Folders);
    Require(expansion.paths.size() <= hm::kWinapp2MaxForms);
    Require(!expansion.tooMany || expansion.paths.empty());
    for (const std::string& path : expansion.paths) {
        Require(hm::NormaliseWinapp2Path(path) == path);
        if (hm::Winapp2PathRefusal(path).empty()) {
            Require(path.size() >= 3 && path[1] == ':' && path[2] == '\\');
            Require(path.find('%') == std::string::npos || expansion.unexpanded.empty());
            Require(path.find("\\\\") == std::string::npos);
        }
    }
}

void CheckRules(std::string_view bytes) {
    const hm::Winapp2Rules read = hm::ParseWinapp2(bytes);
    for (const hm::Winapp2Rule& rule : read.rules) {
        Require(!rule.name.empty());
        Require(rule.name.find_first_of("\r\n") == std::string::npos);
        Require(!hm::Winapp2GroupName(rule).empty());
        for (const hm::Winapp2FileKey& key : rule.fileKeys) {
            Require(!key.patterns.empty() && !key.folder.empty());
            Require(!key.removeSelf || key.recurse);
            for (const std::string& pattern : key.patterns) {
                Require(!pattern.empty() && pattern.find_first_of(";\\/:|") == std::string::npos);
                // A name that holds no wildcard matches itself.
                if (!hm::HasWildcard(pattern)) {
                    Require(hm::Winapp2Matches(pattern, pattern));
                }
                Require(hm::Winapp2Matches("*", pattern));
            }
            CheckPath(key.folder);
            for (const std::string& path : hm::ExpandWinapp2Path(key.folder, Folders).paths) {
                const std::string lower = hm::Winapp2Lower(path);
                const std::string refusal = hm::FileKeyFolderRefusal(key, lower, kProtected);
                // A key that acts on one named file type, not recursively, is never refused.
                if (!key.recurse && !hm::SelectsEverything(key.patterns[0]) &&
                    key.patterns.size() == 1) {
                    Require(refusal.empty());
                }
                hm::FileKeyWildcardRefusal(key, lower, kProtected);
            }
        }
        for (const hm::Winapp2RegKey& key : rule.regKeys) {
            Require(key.path.root != 0 && !key.path.subKey.empty());
            Require(!key.value || hm::RegKeyRefusal(key).empty());
            Require(!hm::IsRegExcluded({}, key.path.root, key.path.subKey, nullptr));
        }
        std::vector<hm::Winapp2FileExclusion> exclusions;
        for (const hm::Winapp2Exclude& exclude : rule.excludes) {
            if (exclude.kind == hm::Winapp2ExcludeKind::Reg) {
                Require(hm::HoldsRegExclusion(rule.excludes, exclude.reg.root, exclude.reg.subKey));
                if (!exclude.value) {
                    Require(hm::IsRegExcluded(rule.excludes, exclude.reg.root, exclude.reg.subKey,
                                              nullptr));
                }
                continue;
            }
            Require(exclude.kind == hm::Winapp2ExcludeKind::Path || !exclude.patterns.empty());
            CheckPath(exclude.folder);
            exclusions.push_back(hm::MakeFileExclusion(exclude, exclude.folder));
        }
        for (const std::string& path : rule.detectFiles) {
            CheckPath(path);
            hm::IsFileExcluded(exclusions, hm::Winapp2Lower(path));
            hm::IsFolderExcluded(exclusions, hm::Winapp2Lower(path));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckRules(bytes);
    // The same bytes as one pattern and one name.
    const size_t cut = bytes.find('\n');
    if (cut != std::string_view::npos) {
        const std::string_view pattern = bytes.substr(0, cut);
        const std::string_view name = bytes.substr(cut + 1);
        const bool matches = hm::Winapp2Matches(pattern, name);
        if (!pattern.empty() && pattern.find_first_not_of('*') == std::string_view::npos) {
            Require(matches);
        }
        CheckPath(pattern);
    }
    return 0;
}
