// A registry tree below one of the Office keys, whose names carry the version the pass probed.
// Word, Excel, PowerPoint and Access moved their lists to other keys from one version on, so a
// tree can be bound to versions: the arguments "when" or "unless" followed by version numbers.
// With no arguments the tree goes whatever the version.
#include <algorithm>
#include <string>

#include "engine/steps/steps.h"

namespace hm::steps {
namespace {

bool AppliesTo(const std::vector<std::string_view>& args, std::string_view version) {
    if (args.empty()) {
        return true;
    }
    const bool listed = std::find(args.begin() + 1, args.end(), version) != args.end();
    if (args.front() == "when") {
        return listed;
    }
    // Anything but "unless" is a malformed row: better to delete nothing than the wrong lists.
    return args.front() == "unless" && !listed;
}

}  // namespace

Counts OfficeTree(const act::Step& step, PassContext& context) {
    if (!AppliesTo(step.args, context.folders.OfficeVersion())) {
        return {};
    }
    return {static_cast<double>(
                context.eraser.DeleteRegTree(kCurrentUser, context.folders.Resolve(step.folder))),
            0};
}

}  // namespace hm::steps
