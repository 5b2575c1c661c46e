// "Windows Temp": three temporary folders, each emptied file by file and then made anew:
// the "temp" beside the local application data of older systems, the Windows folder's "temp",
// and the user's TEMP. Both results of each are counted.
#include <string>

#include "engine/normal.h"
#include "engine/steps/steps.h"

namespace hm::steps {
namespace {

Counts Clean(PassContext& context, const std::string& folder) {
    Counts counts;
    counts.bytes += context.eraser.DeleteFolderFiles(folder);
    counts.bytes += context.eraser.ResetFolder(folder);
    return counts;
}

}  // namespace

Counts TempFolders(const act::Step&, PassContext& context) {
    Counts counts;
    // "...\Local Settings\Application Data" has its temp folder beside it; a local folder
    // without that name (later systems) has none there, and the step is skipped.
    const std::string local = context.values.LocalAppDataFolder;
    const size_t at = local.find("Application Data");
    if (at != std::string::npos) {
        counts += Clean(context, local.substr(0, at) + "temp");
    }
    counts += Clean(context, context.values.WindowsFolder + "\\temp");
    counts += Clean(context, EnvironmentValue("TEMP"));
    return counts;
}

}  // namespace hm::steps
