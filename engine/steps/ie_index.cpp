// "IE Index.dat Files": Internet Explorer keeps its index files open, so they are scheduled for
// deletion at the next restart. The row says to restart only when a file was really scheduled;
// an ordinary user may not schedule (that needs administrator rights), and a machine without
// the files has nothing to schedule.
#include <string>

#include "engine/steps/steps.h"

namespace hm::steps {

Counts IeIndex(const act::Step&, PassContext& context) {
    struct IndexFile {
        BaseFolder base;
        const char* suffix;
        const char* status;
    };
    const IndexFile indexFiles[] = {
        {BaseFolder::ShellCache, "\\Content.IE5\\index.dat",
         "Clearing IE Cache Index.dat File Content......"},
        {BaseFolder::ShellHistory, "\\History.IE5\\index.dat",
         "Clearing IE History Index.dat File Content......"},
        {BaseFolder::ShellCookies, "\\index.dat",
         "Clearing IE Cookies Index.dat File Content......"},
    };
    bool scheduled = false;
    bool refused = false;
    for (const IndexFile& file : indexFiles) {
        context.ui.SetRowStatus(file.status);
        switch (context.eraser.DeleteAtReboot(context.folders.Base(file.base) + file.suffix)) {
            case Eraser::Scheduled::Yes:
                scheduled = true;
                break;
            case Eraser::Scheduled::Failed:
                refused = true;
                break;
            case Eraser::Scheduled::NoFile:
                break;
        }
    }
    if (scheduled) {
        context.result = "Need to reboot your computer!";
    } else if (refused) {
        context.result = "Needs administrator rights";
    }
    return {0, 3500000};
}

}  // namespace hm::steps
