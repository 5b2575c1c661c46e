// "Custom Item": the files and folders the user listed in the clean-items dialog ("cusd.dat").
// A file or folder that is gone by now is skipped; sizes are counted before each deletion is
// tried, so one that cannot be deleted still counts.
#include <vector>

#include "config/custom_list.h"
#include "engine/steps/steps.h"

namespace hm::steps {

Counts CustomItems(const act::Step&, PassContext& context) {
    std::vector<CustomLine> lines;
    if (!ReadCustomListFile(CustomListPath(context.dataFolder), lines)) {
        context.result = "Fail, Can't find file!";
        return {};
    }
    Counts counts;
    for (const CustomLine& line : UsableCustomItems(lines)) {
        if (IsCustomFile(line)) {
            counts.bytes += context.eraser.DeleteFileItself(line.path);
        } else {
            counts.bytes += context.eraser.DeleteFolderItself(line.path);
        }
        context.ui.PumpEvents();
    }
    return counts;
}

}  // namespace hm::steps
