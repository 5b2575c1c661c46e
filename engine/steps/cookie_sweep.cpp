// The cookie files directly in the cookie folder go, except those the cookie keep list names by
// their full path, letter for letter. No constant part is counted.
#include <string>

#include "engine/steps/steps.h"
#include "keeplists/keep_list_rules.h"

namespace hm::steps {

Counts CookieSweep(const act::Step& step, PassContext& context) {
    const std::vector<std::string> kept = context.keepLists.KeptCookies();
    const auto keep = [&](const std::string& path) { return IsKeptCookie(path, kept); };
    return {0,
            context.eraser.DeleteFilesInFolderExcept(context.folders.Resolve(step.folder), keep)};
}

}  // namespace hm::steps
