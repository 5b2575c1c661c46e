// An observer that keeps everything the erase operations tell it, for the engine tests.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "engine/erase.h"

namespace hm::test {

class EraseRecorder : public EraseObserver {
public:
    void OnTrace(const Trace& trace) override { traces.push_back(trace); }
    void OnYield() override { ++yields; }

    // Sorted paths of the traces of one kind that report a removal (or that do not).
    std::vector<std::string> Paths(TraceKind kind, bool removed = true) const {
        std::vector<std::string> paths;
        for (const Trace& trace : traces) {
            if (trace.kind == kind && trace.removed() == removed) {
                paths.push_back(trace.path);
            }
        }
        std::sort(paths.begin(), paths.end());
        return paths;
    }

    const Trace* Find(const std::string& path) const {
        for (const Trace& trace : traces) {
            if (trace.path == path) {
                return &trace;
            }
        }
        return nullptr;
    }

    std::vector<Trace> traces;
    int yields = 0;
};

}  // namespace hm::test
