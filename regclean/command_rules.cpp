#include "regclean/command_rules.h"

#include <algorithm>
#include <cctype>

#include "platform/path_rules.h"

namespace hm::regclean {
namespace {

// Unquoted lines with more program guesses than this are left unjudged: no real entry comes
// near, and a crafted one must not make the scan probe without end.
constexpr std::size_t kMaxPrefixes = 64;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// A path as the file system takes it: forward slashes turned, the "\\?\" and "\??\" prefixes
// (which name the same local file) dropped.
std::string Normalize(std::string_view path) {
    std::string out(TrimSpace(path));
    std::replace(out.begin(), out.end(), '/', '\\');
    // "C:\Folder\" is "C:\Folder"; a drive's root keeps its backslash.
    while (out.size() > 3 && out.back() == '\\') {
        out.pop_back();
    }
    if (StartsWithText(out, "\\\\?\\UNC\\")) {
        return "\\\\" + out.substr(8);
    }
    if (StartsWithText(out, "\\\\?\\") || StartsWithText(out, "\\??\\")) {
        return out.substr(4);
    }
    return out;
}

bool HasExtension(std::string_view path) {
    return FileNameOf(path).find('.') != std::string_view::npos;
}

// Characters no file name holds: a guess containing one names no file (the system would refuse
// the name rather than answer "not found").
bool CanNameFile(std::string_view path) {
    return path.find_first_of(std::string_view("\"<>|*?\0", 7)) == std::string_view::npos;
}

void AddUnique(std::vector<std::string>& list, std::string item) {
    if (std::find(list.begin(), list.end(), item) == list.end()) {
        list.push_back(std::move(item));
    }
}

// A program named without an extension is looked for with the extensions Windows tries.
void AddProgram(std::vector<std::string>& list, std::string_view path) {
    const std::string normal = Normalize(path);
    if (normal.empty() || !CanNameFile(normal)) {
        return;
    }
    AddUnique(list, normal);
    if (!HasExtension(normal)) {
        for (const char* extension : {".exe", ".com", ".bat", ".cmd"}) {
            AddUnique(list, normal + extension);
        }
    }
}

void AddLibrary(std::vector<std::string>& list, std::string_view path) {
    const std::string normal = Normalize(path);
    if (normal.empty() || !CanNameFile(normal)) {
        return;
    }
    AddUnique(list, normal);
    if (!HasExtension(normal)) {
        AddUnique(list, normal + ".dll");
    }
}

bool IsExecutableName(std::string_view path) {
    for (const char* extension : {".exe", ".com", ".bat", ".cmd", ".scr", ".cpl", ".dll", ".msc",
                                  ".pif", ".lnk", ".vbs", ".js", ".wsf", ".ps1", ".msi"}) {
        if (EndsWithText(path, extension)) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> SplitArguments(std::string_view text) {
    std::vector<std::string> tokens;
    std::string current;
    bool quoted = false;
    bool any = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (IsBlank(c) && !quoted) {
            if (any) {
                tokens.push_back(current);
            }
            current.clear();
            any = false;
        } else {
            current.push_back(c);
            any = true;
        }
    }
    if (any) {
        tokens.push_back(current);
    }
    return tokens;
}

Target RundllTarget(std::string_view rest) {
    rest = TrimSpace(rest);
    Target target;
    target.kind = TargetKind::RundllLibrary;
    if (rest.empty()) {
        return target;
    }
    if (rest.front() == '"') {
        const std::size_t close = rest.find('"', 1);
        if (close == std::string_view::npos) {
            return target;
        }
        target.shown = std::string(rest.substr(1, close - 1));
        AddLibrary(target.candidates, target.shown);
    } else {
        // rundll32 takes the library up to the comma; a blank may end it too.
        const std::string_view upToComma = TrimSpace(rest.substr(0, rest.find(',')));
        const auto blank = std::find_if(rest.begin(), rest.end(), IsBlank);
        const std::string_view upToBlank =
            rest.substr(0, static_cast<std::size_t>(blank - rest.begin()));
        target.shown = std::string(upToComma);
        AddLibrary(target.candidates, upToComma);
        AddLibrary(target.candidates, upToBlank.substr(0, upToBlank.find(',')));
    }
    target.judgeable = !target.candidates.empty();
    return target;
}

Target MsiexecTarget(std::string_view rest) {
    const std::vector<std::string> tokens = SplitArguments(rest);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const std::string& token = tokens[i];
        if (token.size() < 2 || (token[0] != '/' && token[0] != '-')) {
            continue;
        }
        std::string option = token.substr(1);
        std::transform(option.begin(), option.end(), option.begin(), Lower);
        const std::string next = i + 1 < tokens.size() ? tokens[i + 1] : std::string();
        std::string package;
        if (option == "package" || option == "uninstall" || option == "i" || option == "x" ||
            option == "a") {
            package = next;
        } else if (option[0] == 'f' &&
                   option.find_first_not_of("fpecdaumsvo") == std::string::npos) {
            package = next;  // repair: "/fvomus" and then the package or product
        } else if (option[0] == 'i' || option[0] == 'x' || option[0] == 'a') {
            package = token.substr(2);  // "/X{code}", "/iC:\setup.msi"
        } else {
            continue;
        }
        if (package.empty() || package.front() == '{') {
            // A product code is resolved by Windows Installer's own records, not by a path.
            return Target{};
        }
        return PathTarget(package, TargetKind::MsiPackage);
    }
    return Target{};
}

}  // namespace

std::string_view TrimSpace(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

bool StartsWithText(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

bool EndsWithText(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           SameText(text.substr(text.size() - suffix.size()), suffix);
}

Target CommandTarget(std::string_view line) {
    line = TrimSpace(line);
    Target target;
    if (line.empty()) {
        return target;
    }
    std::string firstToken;
    std::string_view rest;
    std::vector<std::string> programs;
    if (line.front() == '"') {
        const std::size_t close = line.find('"', 1);
        if (close == std::string_view::npos) {
            return target;
        }
        firstToken = std::string(TrimSpace(line.substr(1, close - 1)));
        rest = line.substr(close + 1);
        AddProgram(programs, firstToken);
        target.shown = firstToken;
    } else {
        const std::size_t firstBlank = static_cast<std::size_t>(
            std::find_if(line.begin(), line.end(), IsBlank) - line.begin());
        firstToken = std::string(line.substr(0, firstBlank));
        rest = line.substr(firstBlank);
        // Unquoted, Windows tries each run of words up to a blank as the program, shortest first.
        std::size_t prefixes = 0;
        for (std::size_t end = 0; end <= line.size(); ++end) {
            const bool cut = end == line.size() || (IsBlank(line[end]) && !IsBlank(line[end - 1]));
            if (!cut) {
                continue;
            }
            if (++prefixes > kMaxPrefixes) {
                return target;
            }
            const std::string_view prefix = line.substr(0, end);
            AddProgram(programs, prefix);
            if (target.shown.empty() && IsExecutableName(prefix)) {
                target.shown = std::string(prefix);
            }
        }
        if (target.shown.empty()) {
            target.shown = firstToken;
        }
    }
    const std::string_view program = FileNameOf(firstToken);
    if (SameText(program, "rundll32") || SameText(program, "rundll32.exe")) {
        return RundllTarget(rest);
    }
    if (SameText(program, "msiexec") || SameText(program, "msiexec.exe")) {
        return MsiexecTarget(rest);
    }
    target.candidates = std::move(programs);
    target.judgeable = !target.candidates.empty();
    return target;
}

Target PathTarget(std::string_view path, TargetKind kind) {
    path = TrimSpace(path);
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
        path = TrimSpace(path.substr(1, path.size() - 2));
    }
    Target target;
    target.kind = kind;
    target.shown = std::string(path);
    const std::string normal = Normalize(path);
    if (!normal.empty() && CanNameFile(normal)) {
        target.candidates.push_back(normal);
        target.judgeable = true;
    }
    return target;
}

}  // namespace hm::regclean
