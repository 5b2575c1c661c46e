// Starts a batch file of the program folder in a hidden window and waits for it to end, letting
// window events run meanwhile. A batch file that is not there is not started.
#include <string>

#include "engine/normal.h"
#include "engine/steps/steps.h"
#include "platform/files.h"

namespace hm::steps {

Counts RunAndWait(const act::Step& step, PassContext& context) {
    const std::string batch = context.folders.Resolve(step.folder);
    files::Info info;
    if (files::QueryInfo(files::ToLongPath(batch), info) != 0) {
        return {};
    }
    std::string shell = EnvironmentValue("ComSpec");
    if (shell.empty()) {
        shell = "cmd.exe";
    }
    LaunchRequest request;
    // cmd keeps the outer quotes of "/c" only when the whole command is quoted once more.
    request.commandLine = "\"" + shell + "\" /c \"\"" + batch + "\"\"";
    request.show = 0;  // hidden
    request.wait = true;
    context.eraser.Launch(request);
    return {};
}

}  // namespace hm::steps
