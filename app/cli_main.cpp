// hushmark-cli: the cleaning pass from the command line.
//   hushmark-cli list     every built-in item in pass order, ticked or not, built or not
//   hushmark-cli clean    runs the pass
//   hushmark-cli preview  runs the pass without changing anything and lists what would go
#include <string>

#include "app/cli_output.h"
#include "app/cli_ui.h"
#include "config/inifun.h"
#include "engine/catalogue.h"
#include "engine/clean_run.h"
#include "engine/erase.h"
#include "engine/normal.h"
#include "engine/shared_values.h"
#include "engine/tick_rules.h"
#include "platform/path_rules.h"
#include "platform/regfun.h"
#include "platform/text.h"

namespace hm {
namespace {

constexpr const char* kUsage =
    "usage: hushmark-cli list | clean | preview\n"
    "  list     every built-in item in pass order: section, key, label, ticked, built\n"
    "  clean    erase every ticked item and print each result\n"
    "  preview  the same pass, changing nothing; lists what would be removed\n"
    "  thumbs   removes the hidden Thumbs.db files below the user's profile folder (what\n"
    "           delThumbs.bat runs); links are not followed\n"
    "exit codes: 0 done; 1 some ticked item left things behind that were in use or could not\n"
    "be removed (clean only); 2 usage; 3 another pass on this program folder did not end in\n"
    "time; 4 the settings file is too large to be read\n";

// Exit codes, as the usage text lists them.
constexpr int kExitDone = 0;
constexpr int kExitLeftovers = 1;
constexpr int kExitUsage = 2;
constexpr int kExitBusy = 3;
constexpr int kExitSettingsTooLarge = 4;

// How long a command-line pass waits for another pass on the same program folder.
constexpr unsigned kLockWaitMilliseconds = 5000;

int List(const std::string& programFolder) {
    const std::string settings = JoinPath(programFolder, "hushsd.dat");
    for (const CatalogueItem& item : Catalogue()) {
        std::string ticked = "-";
        if (item.kind == ItemKind::Setting) {
            const std::string value =
                ReadIniValue(settings, std::string(item.section), std::string(item.key));
            ticked = IsTicked(item.tick, value) ? "ticked" : "not ticked";
        }
        const std::string section = item.kind == ItemKind::PluginList ? "(plug-ins)"
                                                                      : std::string(item.section);
        PrintOut(section + "\t" + std::string(item.key) + "\t" + std::string(item.label) + "\t" +
                 ticked + "\t" + (item.built() ? "built" : "not built") + "\n");
    }
    return 0;
}

int Clean(const std::string& programFolder, bool preview) {
    CliUi ui(preview);
    Regfun registry(ui);
    SharedValues values;
    ComputeSharedValues(values, registry);

    PassSetup setup;
    setup.programFolder = programFolder;
    setup.now = NowText;
    setup.mode = preview ? EraseMode::Preview : EraseMode::Erase;
    setup.observer = &ui;
    setup.lockWaitMilliseconds = kLockWaitMilliseconds;
    CleanRun run(ui, values, setup);
    const PassResult result = run.CleanNow();
    switch (result.start) {
        case PassStart::Ran:
        case PassStart::Nested:
            break;
        case PassStart::Busy:
            PrintErr("hushmark-cli: another cleaning pass is running for " + programFolder +
                     "; try again when it has ended\n");
            return kExitBusy;
        case PassStart::SettingsTooLarge:
            return kExitSettingsTooLarge;
    }
    if (result.exited) {
        return kExitDone;
    }
    if (preview) {
        ui.PrintPreviewReport(result.registryKeys, result.bytes, SummaryOf(result));
        return kExitDone;
    }
    PrintOut(SummaryOf(result) + "\n");
    return result.leftovers > 0 ? kExitLeftovers : kExitDone;
}

// Counts what the thumbnail search removed and what stayed.
class ThumbsTally : public EraseObserver {
public:
    void OnTrace(const Trace& trace) override {
        if (trace.removed()) {
            ++removed;
        } else {
            PrintErr("could not remove: " + trace.path + " (error " +
                     std::to_string(trace.error) + ")\n");
            ++failed;
        }
    }
    int removed = 0;
    int failed = 0;
};

int Thumbs() {
    const std::string profile = EnvironmentValue("USERPROFILE");
    if (!IsAbsolutePath(profile)) {
        PrintErr("hushmark-cli: no profile folder to search\n");
        return kExitDone;
    }
    ThumbsTally tally;
    Eraser eraser(EraseMode::Erase, &tally);
    eraser.DeleteHiddenNamedFiles(profile, "Thumbs.db");
    PrintOut("Thumbs.db files removed: " + std::to_string(tally.removed) + "\n");
    return tally.failed > 0 ? kExitLeftovers : kExitDone;
}

}  // namespace
}  // namespace hm

int wmain(int argc, wchar_t** argv) {
    using namespace hm;
    const std::string verb = argc == 2 ? Narrow(argv[1]) : std::string();
    const std::string programFolder = ProgramFolder();
    if (verb == "list") {
        return List(programFolder);
    }
    if (verb == "thumbs") {
        return Thumbs();
    }
    if (verb == "clean" || verb == "preview") {
        return Clean(programFolder, verb == "preview");
    }
    PrintErr(kUsage);
    return kExitUsage;
}
