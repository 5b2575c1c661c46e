// "Windows Clipboard": whatever the clipboard holds is dropped.
#include "engine/steps/steps.h"

namespace hm::steps {

Counts EmptyClipboard(const act::Step&, PassContext& context) {
    context.eraser.EmptyClipboard();
    return {};
}

}  // namespace hm::steps
