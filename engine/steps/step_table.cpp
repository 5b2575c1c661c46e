#include <array>
#include <cstddef>

#include "engine/steps/steps.h"

namespace hm {
namespace {

using Handler = Counts (*)(const act::Step&, PassContext&);

// In the order of StepId, which the same list makes.
constexpr std::array kHandlers = {
#define HM_STEP_HANDLER(name) static_cast<Handler>(&steps::name),
    HM_SPECIAL_STEPS(HM_STEP_HANDLER)
#undef HM_STEP_HANDLER
};

}  // namespace

Counts RunStep(const act::Step& step, PassContext& context) {
    const auto index = static_cast<std::size_t>(step.id);
    return index < kHandlers.size() ? kHandlers[index](step, context) : Counts{};
}

}  // namespace hm
