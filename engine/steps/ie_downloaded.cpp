// "IE Downloaded Files(Only IE9)" and "IE Downloaded History(Only IE9)": from version 9 on, the
// download folders are emptied (the first item only); before that both rows say the item needs
// version 9.
#include "engine/steps/steps.h"

namespace hm::steps {
namespace {

constexpr const char* kOnlyIe9 = "Only Support IE9.";

}  // namespace

Counts IeDownloaded(const act::Step&, PassContext& context) {
    if (context.values.IEMajorVersion < 9) {
        context.result = kOnlyIe9;
        return {};
    }
    Counts counts;
    counts.bytes += context.eraser.ResetFolder(context.folders.Base(BaseFolder::IeDownloads));
    counts.bytes += context.eraser.ResetFolder(context.folders.Base(BaseFolder::Downloads));
    return counts;
}

Counts IeDownloadedHistory(const act::Step&, PassContext& context) {
    if (context.values.IEMajorVersion < 9) {
        context.result = kOnlyIe9;
    }
    return {};
}

}  // namespace hm::steps
