// The judging's questions about files and variables, answered by Windows. A path counts as
// missing only on a fixed local drive that answers "file not found" or "path not found";
// removable, network and unreadable places answer Unknown.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "regclean/judge_rules.h"

namespace hm::regclean {

class LivePathOracle : public PathOracle {
public:
    PathState Probe(const std::string& path) override;
    std::vector<std::string> Variable(std::string_view name) override;
    SystemFolders Folders() override;

private:
    std::map<char, bool> fixedDrives_;
    std::optional<SystemFolders> folders_;
};

// True when the process's token holds the Administrators group in force (elevated).
bool RunningAsAdministrator();

}  // namespace hm::regclean
