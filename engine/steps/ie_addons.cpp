// "IE Add-ons Settings" (from version 7 on): the browser's own clearing of add-on data, counted
// with fixed amounts.
#include "engine/steps/clearing_entry_point.h"
#include "engine/steps/steps.h"

namespace hm::steps {

Counts IeAddons(const act::Step&, PassContext& context) {
    if (context.values.IEMajorVersion < 7) {
        return {};
    }
    ClearMyTracks(context, "4351");
    return {15, 500000};
}

}  // namespace hm::steps
