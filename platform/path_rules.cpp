#include "platform/path_rules.h"

namespace hm {

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string joined;
    joined.reserve(folder.size() + 1 + name.size());
    joined.append(folder);
    joined.push_back('\\');
    joined.append(name);
    return joined;
}

bool IsAbsolutePath(std::string_view path) {
    // The system reads a path only up to a NUL: what follows would silently be dropped.
    if (path.find('\0') != std::string_view::npos) {
        return false;
    }
    auto isSeparator = [](char c) { return c == '\\' || c == '/'; };
    if (path.size() >= 3) {
        const char drive = path[0];
        const bool letter = (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
        if (letter && path[1] == ':' && isSeparator(path[2])) {
            return true;
        }
    }
    // A UNC path needs a server name after the two separators.
    return path.size() > 2 && isSeparator(path[0]) && isSeparator(path[1]) &&
           !isSeparator(path[2]);
}

std::string_view FileNameOf(std::string_view path) {
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string_view ParentOf(std::string_view path) {
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string_view::npos ? std::string_view{} : path.substr(0, cut);
}

std::string_view ExtensionOf(std::string_view fileName) {
    const std::string_view name = FileNameOf(fileName);
    const size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
}

std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

std::string_view TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

}  // namespace hm
