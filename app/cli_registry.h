// The registry cleaner's verbs of hushmark-cli:
//   regscan                  lists the findings: category, key, value name (empty for a whole
//                            key), what it points at; TAB-separated, one a line
//   regfix [--backup FILE]   fixes every finding ticked by default after writing the backup
//                            (by default a new file in the program folder's "Backups")
//   regrestore FILE          writes a backup's keys and values back
#pragma once

#include <string>
#include <vector>

namespace hm {

bool IsRegistryVerb(const std::string& verb);

// args: the verb and what follows it. Returns the process's exit code.
int RunRegistryVerb(const std::vector<std::string>& args, const std::string& programFolder);

// Exit code of regfix and regrestore when nothing was changed: the backup could not be written,
// or the file to restore is not a backup this program can read.
inline constexpr int kExitBackupProblem = 5;

}  // namespace hm
