// The plug-in items of the pass: each switched-on plug-in file of the program folder runs as one
// row after the custom items.
#pragma once

#include <string>

#include "engine/pass_context.h"

namespace hm {

// processshell: runs one plug-in item file, its action sections in their fixed order, and returns
// what they add to the counters. A missing file reads as empty and does nothing.
Counts processshell(const std::string& file, PassContext& context);

}  // namespace hm
