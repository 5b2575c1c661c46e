// "IE Internet History Files": the history goes through Internet Explorer's own clearing on
// Windows 6.x and later, and straight through its URL history store before that. Either way
// the item counts fixed amounts.
//
// AOL Explorer shares the browser's history and this step, with the argument "StoreFirst": it
// always empties the store, whatever the Windows version, and then, from Internet Explorer 7 on,
// runs the browser's own clearing as well.
#include "engine/steps/clearing_entry_point.h"
#include "engine/steps/steps.h"

namespace hm::steps {

Counts IeHistory(const act::Step& step, PassContext& context) {
    const bool storeFirst = !step.args.empty() && step.args.front() == "StoreFirst";
    if (storeFirst) {
        context.eraser.ClearUrlHistory();
        if (context.values.IEMajorVersion > 6) {
            ClearMyTracks(context, "1");
        }
    } else if (context.values.WindowsVersion.rfind('6', 0) != 0) {
        context.eraser.ClearUrlHistory();
    } else {
        ClearMyTracks(context, "1");
    }
    return {15, 500000};
}

}  // namespace hm::steps
