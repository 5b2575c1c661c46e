// "IE Internet History Files": the history goes through Internet Explorer's own clearing on
// Windows 6.x and later, and straight through its URL history store before that. Either way
// the item counts fixed amounts.
#include "engine/steps/clearing_entry_point.h"
#include "engine/steps/steps.h"

namespace hm::steps {

Counts IeHistory(const act::Step&, PassContext& context) {
    if (context.values.WindowsVersion.rfind('6', 0) != 0) {
        context.eraser.ClearUrlHistory();
    } else {
        ClearMyTracks(context, "1");
    }
    return {15, 500000};
}

}  // namespace hm::steps
