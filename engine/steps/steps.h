// The handlers of the special steps, one per file in this folder, all of one shape.
#pragma once

#include "engine/catalogue.h"
#include "engine/pass_context.h"

namespace hm {

namespace steps {
#define HM_STEP_DECLARE(name) Counts name(const act::Step& step, PassContext& context);
HM_SPECIAL_STEPS(HM_STEP_DECLARE)
#undef HM_STEP_DECLARE
}  // namespace steps

// Runs the step's handler.
Counts RunStep(const act::Step& step, PassContext& context);

}  // namespace hm
