// A fixture for tests that run whole passes against the sandbox's real registry and profile
// folders: a throwaway program folder, the shared values the program computes at start, a
// recording user interface, and changes that record programs instead of starting them.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/inifun.h"
#include "engine/clean_run.h"
#include "platform/regfun.h"
#include "support/fake_office_probe.h"
#include "support/recording_changes.h"
#include "support/recording_ui.h"
#include "support/sandbox.h"

namespace hm::test {

class PassTest : public ::testing::Test {
protected:
    PassTest() {
        Regfun registry(messages);
        ComputeSharedValues(values, registry);
    }

    std::string Settings() const { return program / "hushsd.dat"; }
    void Tick(const std::string& section, const std::string& key) {
        WriteIniValue(Settings(), section, key, "1");
    }

    // Runs one pass. The programs an erasing pass starts are recorded in `launches` instead of
    // started; a preview predicts them as it always does.
    PassResult Run(EraseMode mode = EraseMode::Erase) {
        const std::function<void()> onPump = ui.onPump;  // a test's hook outlives the reset
        ui = RecordingUi();
        ui.onPump = onPump;
        launches.clear();
        PassSetup setup;
        setup.programFolder = program.path();
        setup.now = [] { return std::string("1/2/2026 3:04:05 PM"); };
        setup.mode = mode;
        setup.observer = &ui;
        setup.officeProbe = &officeProbe;
        setup.changes = [this, mode] {
            auto changes = std::make_unique<RecordingChanges>(
                mode == EraseMode::Preview ? MakeDryRunChanges() : MakeRealChanges());
            changes->launches = mode == EraseMode::Erase ? &launches : nullptr;
            changes->rebootError = rebootError;
            return changes;
        };
        CleanRun run(ui, values, setup);
        result = run.CleanNow();
        return result;
    }

    // The status of the row with this label ("" when there is none).
    std::string Status(const std::string& label) const {
        for (const Row& row : ui.rows) {
            if (row.label == label) {
                return row.status;
            }
        }
        return {};
    }
    std::vector<std::string> Launched() const {
        std::vector<std::string> lines;
        for (const LaunchRequest& request : launches) {
            lines.push_back(request.commandLine);
        }
        return lines;
    }

    TempFolder program;
    RecordingMessages messages;
    SharedValues values;
    RecordingUi ui;
    PassResult result;
    std::vector<LaunchRequest> launches;
    std::uint32_t rebootError = 0;
    FakeOfficeProbe officeProbe;  // no Office unless a test says otherwise
};

}  // namespace hm::test
