// "IE Inprivate Filter" (from version 8 on): the filter's index file and its data folder.
#include "engine/normal.h"
#include "engine/steps/steps.h"

namespace hm::steps {

Counts IeInprivate(const act::Step&, PassContext& context) {
    if (context.values.IEMajorVersion < 8) {
        return {};
    }
    Counts counts;
    counts.bytes += context.eraser.DeleteNamedFilesInFolder(
        context.folders.Base(BaseFolder::UserProfile) + "\\PrivacIE", "index.dat");
    counts.bytes +=
        context.eraser.ResetFolder(context.values.AppDataFolder + "\\Microsoft\\Windows\\PrivacIE");
    return counts;
}

}  // namespace hm::steps
