// "IE Internet Cache": the cache folder's files, then (from version 7 on) Internet Explorer's own
// clearing of temporary files. The flag is written with its trailing blank, as it always was.
#include "engine/steps/clearing_entry_point.h"
#include "engine/steps/steps.h"

namespace hm::steps {

Counts IeCache(const act::Step& step, PassContext& context) {
    Counts counts;
    counts.bytes += context.eraser.DeleteFolderFiles(context.folders.Resolve(step.folder));
    if (context.values.IEMajorVersion > 6) {
        ClearMyTracks(context, "8 ");
    }
    return counts;
}

}  // namespace hm::steps
