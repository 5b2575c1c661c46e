#include "regclean/judge_rules.h"

#include <algorithm>
#include <cctype>

namespace hm::regclean {
namespace {

// Lines with more expansions than this are left unjudged, like over-long unquoted ones.
constexpr std::size_t kMaxExpansions = 16;

bool LooksLikeVariable(std::string_view name) {
    if (name.empty() || name.size() > 255) {
        return false;
    }
    const unsigned char first = static_cast<unsigned char>(name.front());
    if (!(std::isalpha(first) || first == '_')) {
        return false;
    }
    return std::all_of(name.begin(), name.end(), [](char c) {
        const unsigned char u = static_cast<unsigned char>(c);
        return std::isalnum(u) ||
               std::string_view("_().-#$@{}~+").find(c) != std::string_view::npos;
    });
}

// "X:\..." only: the one form whose absence on a local disk can be proved. Shares may be
// offline and relative names are searched for along paths this program does not know.
bool IsLocalAbsolute(std::string_view path) {
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
           path[1] == ':' && path[2] == '\\' && path.find('\0') == std::string_view::npos;
}

PathState ProbeAny(const std::vector<std::string>& candidates, PathOracle& oracle) {
    const SystemFolders folders = oracle.Folders();
    bool doubt = false;
    for (const std::string& candidate : candidates) {
        if (!IsLocalAbsolute(candidate)) {
            doubt = true;
            continue;
        }
        for (const std::string& alternative : RedirectionAlternatives(candidate, folders)) {
            switch (oracle.Probe(alternative)) {
                case PathState::Exists:
                    return PathState::Exists;
                case PathState::Unknown:
                    doubt = true;
                    break;
                case PathState::Missing:
                    break;
            }
        }
    }
    return doubt ? PathState::Unknown : PathState::Missing;
}

template <typename Parse>
Verdict Judge(std::string_view raw, PathOracle& oracle, Parse parse) {
    Verdict verdict;
    verdict.pointsAt = std::string(TrimSpace(raw));
    const std::vector<std::string> expansions = ExpandVariables(raw, oracle);
    if (expansions.empty()) {
        return verdict;
    }
    PathState state = PathState::Missing;
    for (std::size_t i = 0; i < expansions.size(); ++i) {
        const Target target = parse(expansions[i]);
        if (i == 0) {
            verdict.kind = target.kind;
            verdict.pointsAt = target.shown.empty() ? verdict.pointsAt : target.shown;
        }
        if (!target.judgeable) {
            return verdict;
        }
        const PathState found = ProbeAny(target.candidates, oracle);
        if (found == PathState::Exists) {
            verdict.state = PathState::Exists;
            return verdict;
        }
        if (found == PathState::Unknown) {
            state = PathState::Unknown;
        }
    }
    verdict.state = state;
    return verdict;
}

void AddUnique(std::vector<std::string>& list, std::string item) {
    if (std::find(list.begin(), list.end(), item) == list.end()) {
        list.push_back(std::move(item));
    }
}

}  // namespace

std::vector<std::string> ExpandVariables(std::string_view text, PathOracle& oracle) {
    std::vector<std::string> results{std::string()};
    auto append = [&results](std::string_view piece) {
        for (std::string& result : results) {
            result += piece;
        }
    };
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '%') {
            const std::size_t next = std::min(text.find('%', i), text.size());
            append(text.substr(i, next - i));
            i = next;
            continue;
        }
        const std::size_t close = text.find('%', i + 1);
        if (close == std::string_view::npos) {
            append(text.substr(i));
            break;
        }
        const std::string_view name = text.substr(i + 1, close - i - 1);
        if (!LooksLikeVariable(name)) {
            // The closing sign may open the next reference, as Windows reads it.
            append("%");
            ++i;
            continue;
        }
        const std::vector<std::string> values = oracle.Variable(name);
        if (values.empty() || results.size() * values.size() > kMaxExpansions) {
            return {};
        }
        std::vector<std::string> grown;
        for (const std::string& result : results) {
            for (const std::string& value : values) {
                AddUnique(grown, result + value);
            }
        }
        results = std::move(grown);
        i = close + 1;
    }
    return results;
}

std::vector<std::string> RedirectionAlternatives(const std::string& path,
                                                 const SystemFolders& folders) {
    std::string windows = folders.windows;
    while (!windows.empty() && windows.back() == '\\') {
        windows.pop_back();
    }
    if (!folders.windows64 || windows.empty()) {
        return {path};
    }
    const std::string system32 = windows + "\\System32";
    const std::string sysnative = windows + "\\Sysnative";
    const std::string syswow64 = windows + "\\SysWOW64";
    auto below = [&path](const std::string& folder) {
        return SameText(path, folder) || StartsWithText(path, folder + "\\");
    };
    if (below(system32)) {
        const std::string rest = path.substr(system32.size());
        // The entry may have been written for a 64-bit reader or a 32-bit one.
        if (folders.wow64Process) {
            return {sysnative + rest, path};
        }
        return {path, syswow64 + rest};
    }
    if (below(sysnative)) {
        const std::string rest = path.substr(sysnative.size());
        if (folders.wow64Process) {
            return {path, system32 + rest};
        }
        return {system32 + rest};
    }
    return {path};
}

Verdict JudgeCommand(std::string_view raw, PathOracle& oracle) {
    return Judge(raw, oracle, [](const std::string& line) { return CommandTarget(line); });
}

Verdict JudgePath(std::string_view raw, PathOracle& oracle, TargetKind kind) {
    return Judge(raw, oracle, [kind](const std::string& path) { return PathTarget(path, kind); });
}

}  // namespace hm::regclean
