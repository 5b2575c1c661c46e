// hushmark-cli search FOLDER [PATTERNTEXT] [--no-subfolders]
#pragma once

#include <string>
#include <vector>

namespace hm {

// Runs the search window's FindFiles without a window and prints each entry as the list shows
// it, then the summary; deletes nothing. args are the words after "search". Returns the exit
// code (0 done, 2 not a folder or no pattern), or -1 when the words do not fit the verb and the
// caller should print the usage.
int SearchVerb(const std::vector<std::string>& args, const std::string& programFolder);

}  // namespace hm
