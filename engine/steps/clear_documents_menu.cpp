// "Recent Documents History": the shell forgets its recent documents. Some systems keep the
// shortcuts of the recent-documents folder all the same, so those go too; they add nothing to
// the counters, which count the list itself as one entry.
#include "engine/steps/steps.h"

namespace hm::steps {

Counts ClearDocumentsMenu(const act::Step& step, PassContext& context) {
    context.eraser.ClearRecentDocuments();
    context.eraser.DeleteFilesByExtensionInFolder(context.folders.Resolve(step.folder), "lnk");
    return {1, 0};
}

}  // namespace hm::steps
