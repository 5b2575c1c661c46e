// Fixing findings and putting them back. A fix first reads everything it will change, exactly, so
// that the backup holds it byte for byte; a finding whose keys or values cannot be read exactly is
// left alone. Restoring writes a backup's keys and values back and removes nothing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "regclean/finding_rules.h"
#include "regclean/regfile_rules.h"
#include "regclean/scan_rules.h"

namespace hm::regclean {

struct FixPlan {
    std::vector<Finding> fixes;      // fully backed up; fixed in this order
    std::vector<Finding> leftAlone;  // something they would change could not be read exactly
    std::vector<RegSection> backup;  // every key and value the fixes change, as it is now
};

FixPlan PlanFix(const std::vector<Finding>& chosen, RegistryAccess& registry);

struct FixResult {
    std::vector<Finding> fixed;
    std::vector<Finding> failed;  // a change was refused; the backup still holds the finding
};

// Carries out the plan's changes. Call it only once the plan's backup is safely written.
FixResult ApplyFix(const FixPlan& plan, RegistryAccess& registry);

struct RestoreResult {
    bool ok = false;
    std::string error;  // why nothing was written
    int keys = 0;
    int values = 0;
    std::vector<std::string> failures;  // keys and values the registry refused
};

// The roots a backup may write below; anything else refuses the whole file.
inline constexpr const char* kRestorableRoots[] = {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"};

RestoreResult RestoreBackup(std::string_view fileBytes, RegistryAccess& registry);

}  // namespace hm::regclean
