// The typed-address list: the key goes, then comes back holding exactly the addresses of the URL
// keep list, in keep-list order, as the values url1, url2, ...
#include <string>

#include "engine/steps/steps.h"

namespace hm::steps {

Counts TypedUrls(const act::Step& step, PassContext& context) {
    const std::string key(step.args.at(0));
    Counts counts;
    counts.registryKeys += context.eraser.DeleteRegKey(kCurrentUser, key);
    const std::vector<std::string> kept = context.keepLists.KeptAddresses();
    context.eraser.CreateRegKey(kCurrentUser, key);
    for (size_t index = 0; index < kept.size(); ++index) {
        context.eraser.SetRegString(kCurrentUser, key, "url" + std::to_string(index + 1),
                                    kept[index]);
    }
    return counts;
}

}  // namespace hm::steps
