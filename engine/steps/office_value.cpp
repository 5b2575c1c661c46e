// One value of a key below the Office keys, whose names carry the version the pass probed. The
// argument names the value; the key's other values stay.
#include <string>

#include "engine/steps/steps.h"

namespace hm::steps {

Counts OfficeValue(const act::Step& step, PassContext& context) {
    return {static_cast<double>(context.eraser.DeleteRegValue(
                kCurrentUser, context.folders.Resolve(step.folder), std::string(step.args.at(0)))),
            0};
}

}  // namespace hm::steps
