// Whether the thing a registry entry names is surely missing: the command line's candidates
// (command_rules.h) after environment variables are expanded, each looked for also where System32
// redirection of a 32-bit process on 64-bit Windows may keep it. Missing only when every file the
// entry could mean is surely absent; anything the rules cannot settle is Unknown.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "regclean/command_rules.h"

namespace hm::regclean {

enum class PathState { Exists, Missing, Unknown };

struct SystemFolders {
    std::string windows;        // "C:\Windows"
    bool windows64 = false;     // 64-bit Windows: System32 and SysWOW64 both exist
    bool wow64Process = false;  // this process is 32-bit there, so "System32" reads SysWOW64
};

// The machine as the judging sees it. The program asks Windows; tests give a table.
class PathOracle {
public:
    virtual ~PathOracle() = default;
    // An absolute path's state. Unknown where the answer could change without the entry being
    // wrong: network and removable drives, a folder that cannot be read, a name the file system
    // refuses.
    virtual PathState Probe(const std::string& path) = 0;
    // Every value a variable can have for the programs that read the entry (ProgramFiles has two
    // on 64-bit Windows); empty when it is not set.
    virtual std::vector<std::string> Variable(std::string_view name) = 0;
    virtual SystemFolders Folders() = 0;
};

// Every expansion of the %NAME% references in text (several when a variable has several
// values). Empty when a referenced variable is not set, or when there would be too many.
// Text between percent signs that cannot be a variable name ("%1", "%*") stays as it is.
std::vector<std::string> ExpandVariables(std::string_view text, PathOracle& oracle);

// The paths the file system may hold the file under once System32 redirection is considered.
std::vector<std::string> RedirectionAlternatives(const std::string& path,
                                                 const SystemFolders& folders);

struct Verdict {
    PathState state = PathState::Unknown;
    TargetKind kind = TargetKind::Program;
    std::string pointsAt;
};

// Expands, parses and probes. Missing only when every expansion is judgeable and every
// candidate of every expansion is absolute, local and surely absent.
Verdict JudgeCommand(std::string_view raw, PathOracle& oracle);
Verdict JudgePath(std::string_view raw, PathOracle& oracle, TargetKind kind = TargetKind::File);

}  // namespace hm::regclean
