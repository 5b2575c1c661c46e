// Asks the installed Word for its version through automation. The cleaning pass only needs the
// answer's text; tests put their own probe in its place.
#pragma once

#include <string>

namespace hm {

// What the probe saw. A version that could not be read stays "0", which names no generation.
struct OfficeProbeResult {
    bool created = false;  // the automation object could be created
    std::string version = "0";
};

class OfficeProbe {
public:
    virtual ~OfficeProbe() = default;
    virtual OfficeProbeResult Probe() = 0;
};

// Creates "Word.Application.8", reads its "Version" property, calls "Quit" and lets it go.
// Starting Word takes seconds when it is installed.
class WordAutomationProbe : public OfficeProbe {
public:
    OfficeProbeResult Probe() override;
};

}  // namespace hm
