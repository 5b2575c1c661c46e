// The plug-in item files of a program folder, as the clean-items dialog lists them and the pass
// runs them: every file directly in "plus-in" whose extension is "hmx" (any case), in the order
// the file system lists them.
#pragma once

#include <string>
#include <vector>

namespace hm {

struct PluginEntry {
    std::string file;     // the file found
    std::string appname;  // [name] appname: the row's text
    std::string appver;   // [version] appver
    std::string decs;     // [dec] decs
    bool on = false;      // [swich] on is exactly "1"
};

// program folder & "\plus-in"
std::string PluginFolder(const std::string& programFolder);

// Every plug-in file in the folder with the given extension (compared without regard to case).
std::vector<PluginEntry> ListPlugins(const std::string& folder, const std::string& extension);

}  // namespace hm
