// An Office probe that answers what the test says instead of starting Word, and tells when and
// how often the pass asked.
#pragma once

#include <functional>
#include <string>

#include "platform/office_probe.h"

namespace hm::test {

class FakeOfficeProbe : public OfficeProbe {
public:
    OfficeProbeResult Probe() override {
        ++calls;
        if (onProbe) {
            onProbe();
        }
        return answer;
    }

    // No Office unless the test says otherwise.
    OfficeProbeResult answer;
    int calls = 0;
    std::function<void()> onProbe;

    void AnswerVersion(const std::string& version) {
        answer.created = true;
        answer.version = version;
    }
    void AnswerNoOffice() { answer = OfficeProbeResult{}; }
};

}  // namespace hm::test
