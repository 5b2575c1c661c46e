// Stand-ins for the registry cleaner's two seams: a file system given as a table, and a registry
// held in a map, for the tests of the scan, the fix and the restore.
#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/path_rules.h"
#include "regclean/judge_rules.h"
#include "regclean/scan_rules.h"
#include "regclean/utf16_rules.h"

namespace hm::regclean::test {

class TableOracle : public PathOracle {
public:
    TableOracle() {
        folders.windows = "C:\\Windows";
        folders.windows64 = true;
        folders.wow64Process = true;
        variables["SystemRoot"] = {"C:\\Windows"};
        variables["windir"] = {"C:\\Windows"};
        variables["ProgramFiles"] = {"C:\\Program Files (x86)", "C:\\Program Files"};
        variables["LOCALAPPDATA"] = {"C:\\Users\\me\\AppData\\Local"};
    }

    PathState Probe(const std::string& path) override {
        probed.push_back(path);
        // As Windows answers: a name it cannot hold is no "not found".
        if (path.find_first_of("\"<>|*?") != std::string::npos) {
            return PathState::Unknown;
        }
        const std::string key = AsciiLower(path);
        if (existing.count(key) != 0) {
            return PathState::Exists;
        }
        return unknown.count(key) != 0 ? PathState::Unknown : PathState::Missing;
    }
    std::vector<std::string> Variable(std::string_view name) override {
        for (const auto& [known, values] : variables) {
            if (AsciiLower(known) == AsciiLower(name)) {
                return values;
            }
        }
        return {};
    }
    SystemFolders Folders() override { return folders; }

    void Add(const std::string& path) { existing.insert(AsciiLower(path)); }
    void AddUnknown(const std::string& path) { unknown.insert(AsciiLower(path)); }

    std::set<std::string> existing;
    std::set<std::string> unknown;
    std::map<std::string, std::vector<std::string>> variables;
    SystemFolders folders;
    std::vector<std::string> probed;
};

// Keys by full path (case as written), each with its values in insertion order.
class MapRegistry : public RegistryAccess {
public:
    bool KeyExists(const std::string& key) override { return keys.count(key) != 0; }

    bool SubKeys(const std::string& key, std::vector<std::string>& names) override {
        if (!KeyExists(key)) {
            return false;
        }
        const std::string prefix = key + "\\";
        for (const auto& [path, values] : keys) {
            if (path.rfind(prefix, 0) == 0 && path.find('\\', prefix.size()) == std::string::npos) {
                names.push_back(path.substr(prefix.size()));
            }
        }
        return unreadable.count(key) == 0;
    }
    bool Values(const std::string& key, std::vector<RegValue>& values) override {
        const auto found = keys.find(key);
        if (found == keys.end()) {
            return false;
        }
        values = found->second;
        return unreadable.count(key) == 0;
    }

    bool CreateKey(const std::string& key) override {
        if (refused.count(key) != 0) {
            return false;
        }
        for (std::size_t at = key.find('\\'); at != std::string::npos;
             at = key.find('\\', at + 1)) {
            keys[key.substr(0, at)];
        }
        keys[key];
        return true;
    }
    bool SetValue(const std::string& key, const RegValue& value) override {
        auto found = keys.find(key);
        if (found == keys.end() || refused.count(key) != 0) {
            return false;
        }
        for (RegValue& held : found->second) {
            if (held.name == value.name) {
                held = value;
                return true;
            }
        }
        found->second.push_back(value);
        return true;
    }
    bool DeleteValue(const std::string& key, const std::string& name) override {
        auto found = keys.find(key);
        if (found != keys.end()) {
            if (refused.count(key) != 0) {
                return false;
            }
            std::erase_if(found->second, [&](const RegValue& held) { return held.name == name; });
        }
        return true;
    }
    bool DeleteTree(const std::string& key) override {
        if (refused.count(key) != 0) {
            return false;
        }
        std::erase_if(keys, [&](const auto& entry) {
            return entry.first == key || entry.first.rfind(key + "\\", 0) == 0;
        });
        return true;
    }

    // Test set-up: a text value (REG_SZ with its NUL, or another type) in a key made on the way.
    void Text(const std::string& key, const std::string& name, const std::string& text,
              std::uint32_t type = kRegSz) {
        CreateKey(key);
        SetValue(key, RegValue{name, type, BytesOf(*ToUtf16(text) + u'\0')});
    }
    void Raw(const std::string& key, const std::string& name, std::uint32_t type,
             std::string data) {
        CreateKey(key);
        SetValue(key, RegValue{name, type, std::move(data)});
    }

    std::map<std::string, std::vector<RegValue>> keys;
    std::set<std::string> unreadable;  // listings of these keys report "not complete"
    std::set<std::string> refused;     // changes to these keys fail
};

}  // namespace hm::regclean::test
