#include "regclean/live_registry.h"

#include <algorithm>

#include "platform/regfun.h"
#include "platform/registry.h"

namespace hm::regclean {
namespace {

constexpr REGSAM kView = KEY_WOW64_64KEY;
constexpr int kMinimumTreeDepth = 3;
constexpr int kMaxDepth = 512;

struct Place {
    HKEY root = nullptr;
    std::string subKey;
};

// Only the roots the cleaner works in; a path under any other name opens nothing.
bool Locate(const std::string& key, Place& place) {
    const std::size_t slash = key.find('\\');
    const std::string rootName = key.substr(0, slash);
    if (rootName != "HKEY_CURRENT_USER" && rootName != "HKEY_LOCAL_MACHINE") {
        return false;
    }
    place.root = ToHkey(Regfun::RootKeyFromName(rootName));
    place.subKey = slash == std::string::npos ? std::string() : key.substr(slash + 1);
    return true;
}

LONG OpenKey(const std::string& key, REGSAM access, RegKey& opened) {
    Place place;
    if (!Locate(key, place)) {
        return ERROR_INVALID_PARAMETER;
    }
    return opened.Open(place.root, place.subKey, access | kView);
}

// UTF-16 names that UTF-8 cannot carry (unpaired surrogates) come out of the conversion holding
// U+FFFD; such a name would address another value or none, so it counts as unreadable.
bool Exact(const std::string& name) {
    return name.find("\xEF\xBF\xBD") == std::string::npos;
}

bool DeleteTreeIn(HKEY root, const std::string& subKey, int depth) {
    RegKey key;
    const LONG status = key.Open(root, subKey, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | kView);
    if (status == ERROR_FILE_NOT_FOUND) {
        return true;
    }
    std::vector<std::string> names;
    if (status != ERROR_SUCCESS || depth > kMaxDepth || key.SubKeyNames(names) != ERROR_SUCCESS) {
        return false;
    }
    key.Close();
    bool ok = true;
    for (const std::string& name : names) {
        ok = Exact(name) && DeleteTreeIn(root, subKey + "\\" + name, depth + 1) && ok;
    }
    const LONG deleted = DeleteRegistryKeyInView(root, subKey, kView);
    return ok && (deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND);
}

}  // namespace

bool LiveRegistry::KeyExists(const std::string& key) {
    RegKey opened;
    return OpenKey(key, KEY_QUERY_VALUE, opened) == ERROR_SUCCESS;
}

bool LiveRegistry::SubKeys(const std::string& key, std::vector<std::string>& names) {
    RegKey opened;
    std::vector<std::string> found;
    if (OpenKey(key, KEY_ENUMERATE_SUB_KEYS, opened) != ERROR_SUCCESS ||
        opened.SubKeyNames(found) != ERROR_SUCCESS) {
        return false;
    }
    const std::size_t all = found.size();
    std::erase_if(found, [](const std::string& name) { return !Exact(name); });
    names.insert(names.end(), found.begin(), found.end());
    return found.size() == all;
}

bool LiveRegistry::Values(const std::string& key, std::vector<RegValue>& values) {
    RegKey opened;
    std::vector<std::string> names;
    if (OpenKey(key, KEY_QUERY_VALUE, opened) != ERROR_SUCCESS ||
        opened.ValueNames(names) != ERROR_SUCCESS) {
        return false;
    }
    bool complete = true;
    for (const std::string& name : names) {
        RegValue value;
        value.name = name;
        DWORD type = REG_NONE;
        if (!Exact(name) || opened.QueryRaw(name, type, value.data) != ERROR_SUCCESS) {
            complete = false;
            continue;
        }
        value.type = type;
        values.push_back(std::move(value));
    }
    return complete;
}

bool LiveRegistry::CreateKey(const std::string& key) {
    Place place;
    RegKey made;
    return Locate(key, place) &&
           made.Create(place.root, place.subKey, KEY_QUERY_VALUE | kView) == ERROR_SUCCESS;
}

bool LiveRegistry::SetValue(const std::string& key, const RegValue& value) {
    RegKey opened;
    return OpenKey(key, KEY_SET_VALUE, opened) == ERROR_SUCCESS &&
           opened.SetRaw(value.name, value.type, value.data) == ERROR_SUCCESS;
}

bool LiveRegistry::DeleteValue(const std::string& key, const std::string& name) {
    RegKey opened;
    const LONG status = OpenKey(key, KEY_SET_VALUE, opened);
    if (status == ERROR_FILE_NOT_FOUND) {
        return true;
    }
    if (status != ERROR_SUCCESS) {
        return false;
    }
    const LONG deleted = opened.DeleteValue(name);
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

bool LiveRegistry::DeleteTree(const std::string& key) {
    Place place;
    if (!Locate(key, place) ||
        std::count(place.subKey.begin(), place.subKey.end(), '\\') + 1 < kMinimumTreeDepth ||
        place.subKey.find("\\\\") != std::string::npos || place.subKey.back() == '\\') {
        return false;
    }
    return DeleteTreeIn(place.root, place.subKey, 0);
}

}  // namespace hm::regclean
