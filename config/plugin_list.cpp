#include "config/plugin_list.h"

#include "config/inifun.h"
#include "platform/files.h"
#include "platform/path_rules.h"
#include "platform/text.h"

namespace hm {

std::string PluginFolder(const std::string& programFolder) {
    return JoinPath(programFolder, "plus-in");
}

std::vector<PluginEntry> ListPlugins(const std::string& folder, const std::string& extension) {
    std::vector<PluginEntry> plugins;
    const std::wstring longFolder = files::ToLongPath(folder);
    if (longFolder.empty()) {
        return plugins;
    }
    const std::string wanted = AsciiLower(extension);
    files::FolderScan scan(longFolder);
    while (scan.Next()) {
        if (scan.IsFolder()) {
            continue;
        }
        const std::string name = Narrow(scan.name());
        if (AsciiLower(ExtensionOf(name)) != wanted) {
            continue;
        }
        PluginEntry entry;
        entry.file = JoinPath(folder, name);
        entry.appname = ReadIniValue(entry.file, "name", "appname");
        entry.appver = ReadIniValue(entry.file, "version", "appver");
        entry.decs = ReadIniValue(entry.file, "dec", "decs");
        entry.on = ReadIniValue(entry.file, "swich", "on") == "1";
        plugins.push_back(std::move(entry));
    }
    return plugins;
}

}  // namespace hm
