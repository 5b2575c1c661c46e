// "Recycle Bin": counts the bin folder the step names (the old-style bin of drive C:) with a
// fixed amount on top, then empties the bins of every drive without asking.
#include "engine/steps/steps.h"
#include "platform/files.h"

namespace hm::steps {

Counts EmptyRecycleBin(const act::Step& step, PassContext& context) {
    constexpr double kFixedBytes = 100000;
    Counts counts;
    const std::wstring bin = files::ToLongPath(context.folders.Resolve(step.folder));
    std::uint64_t size = 0;
    // Nothing is added when the folder is not there.
    if (!bin.empty() && files::TreeSize(bin, size) == 0) {
        counts.bytes = static_cast<double>(size) + kFixedBytes;
    }
    context.eraser.EmptyRecycleBins();
    counts.registryKeys = 1;
    return counts;
}

}  // namespace hm::steps
