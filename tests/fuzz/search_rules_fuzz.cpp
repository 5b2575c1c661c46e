// Feeds arbitrary bytes to the search window's name rules and the extension list's text rules:
// the pattern text (typed or built from Ext.txt), the folder's file names and the list file.
// Build with clang's libFuzzer (scripts/fuzz); a broken invariant aborts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "search/extension_rules.h"
#include "search/locate_rules.h"
#include "search/search_rules.h"

namespace {

using namespace hm::search;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Splits at NUL bytes: the pattern text, the folder, then file names.
std::vector<std::string> Pieces(std::string_view data) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = data.find('\0', start);
        pieces.emplace_back(data.substr(start, end - start));
        if (end == std::string_view::npos) {
            return pieces;
        }
        start = end + 1;
    }
}

void CheckPatterns(const std::string& patternText) {
    const std::vector<NamePattern> patterns = ParsePatterns(patternText);
    std::string rebuilt;
    for (const NamePattern& pattern : patterns) {
        // One star at most comes off each end; the rest is the text as typed.
        rebuilt += (rebuilt.empty() && &pattern == &patterns.front() ? "" : ";") +
                   std::string(pattern.leadingStar ? "*" : "") + pattern.text +
                   (pattern.trailingStar ? "*" : "");
        Require(pattern.upper == UpperCase(pattern.text));
        Require(pattern.length == Utf16Length(pattern.text));
    }
    Require(rebuilt == patternText);
}

void CheckName(const std::vector<NamePattern>& patterns, const std::string& name) {
    const std::string upper = UpperCase(name);
    Require(UpperCase(upper) == upper);
    Require(Utf16Length(upper) == Utf16Length(name));
    for (const NamePattern& pattern : patterns) {
        if (WildcardFinds(pattern, upper, Utf16Length(name))) {
            Require(!pattern.IsExactName());
            Require(Utf16Length(name) > pattern.length);
            Require(upper.find(pattern.upper) != std::string::npos);
        }
    }
}

void CheckScan(const std::string& patternText, const std::string& folder,
               const std::vector<std::string>& names) {
    PatternSet set(patternText);
    std::vector<int> fileHits(names.size(), 0);
    std::vector<int> exactHits(set.patterns().size(), 0);
    std::size_t hits = 0;
    const bool completed = set.ScanFolder(
        folder, names,
        [&](const PatternSet::Hit& hit) {
            Require(hit.file < names.size() && hit.pattern < set.patterns().size());
            const NamePattern& pattern = set.patterns()[hit.pattern];
            Require(hit.exactName == pattern.IsExactName());
            Require(!IsExcludedPath(folder + names[hit.file]));
            if (hit.exactName) {
                Require(IsPlainFileName(pattern.text));
                Require(UpperCase(names[hit.file]) == pattern.upper);
                ++exactHits[hit.pattern];
            } else {
                ++fileHits[hit.file];
            }
            ++hits;
        },
        [] { return false; });
    Require(completed);
    for (int count : fileHits) {
        Require(count <= 1);
    }
    for (int count : exactHits) {
        Require(count <= 1);
    }
    std::size_t counted = 0;
    for (std::size_t count : set.counts()) {
        counted += count;
    }
    Require(counted == hits);
    const std::string summary = set.Summary(hits, hits * 1000u + names.size());
    Require(summary.rfind(std::to_string(hits) + "  Files Found  ", 0) == 0);
}

void CheckKilobytes(std::uint64_t bytes) {
    const std::string text = KilobyteText(bytes);
    const std::size_t dot = text.find('.');
    std::uint64_t whole = std::strtoull(text.substr(0, dot).c_str(), nullptr, 10);
    std::uint64_t fraction = 0;
    if (dot != std::string::npos) {
        std::string digits = text.substr(dot + 1);
        Require(!digits.empty() && digits.size() <= 3 && digits.back() != '0');
        digits.resize(3, '0');
        fraction = std::strtoull(digits.c_str(), nullptr, 10);
    }
    Require(whole * 1000 + fraction == bytes);
}

void CheckExtensionList(const std::string& file, const std::string& entry) {
    for (const std::string& line : ValidExtensionLines(file)) {
        Require(IsValidExtension(line));
    }
    for (const std::string& line : ExtensionLines(WithoutExtension(file, entry))) {
        Require(line != entry);
    }
    const bool oneLine = entry.find_first_of("\r\n") == std::string::npos;
    if (oneLine && IsValidExtension(entry)) {
        const std::string text = PatternTextOf(WithExtensionAppended(file, entry));
        Require(text.size() >= entry.size() && text.substr(text.size() - entry.size()) == entry);
    }
    PromptReadsAsTrue(entry);
    ResetAsksFirst(entry);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> pieces = Pieces(input);
    const std::string& patternText = pieces[0];
    CheckPatterns(patternText);
    const std::string folder = pieces.size() > 1 ? AddBackslash(pieces[1]) : "C:\\";
    const std::vector<std::string> names(pieces.begin() + (pieces.size() > 2 ? 2 : 1),
                                         pieces.end());
    const std::vector<NamePattern> patterns = ParsePatterns(patternText);
    for (const std::string& name : names) {
        CheckName(patterns, name);
    }
    CheckScan(patternText, folder, names);
    std::uint64_t bytes = 0;
    for (std::size_t index = 0; index < size && index < 8; ++index) {
        bytes = (bytes << 8) | data[index];
    }
    CheckKilobytes(bytes);
    CheckExtensionList(std::string(input), patternText);
    return 0;
}
