// hushmark-cli: the cleaning pass from the command line.
//   hushmark-cli list     every built-in item in pass order, ticked or not, built or not, then
//                         the community rules of winapp2.ini that apply here
//   hushmark-cli clean    runs the pass
//   hushmark-cli preview  runs the pass without changing anything and lists what would go
//   hushmark-cli search   the search window's file search, listing only (app/cli_search.cpp)
//   hushmark-cli shred    the file shredder without its window (app/cli_shred.cpp)
//   hushmark-cli regscan | regfix | regrestore   the registry cleaner (app/cli_registry.cpp)
#include <string>
#include <vector>

#include "app/cli_output.h"
#include "app/cli_registry.h"
#include "app/cli_search.h"
#include "app/cli_shred.h"
#include "app/cli_ui.h"
#include "config/inifun.h"
#include "engine/catalogue.h"
#include "engine/clean_run.h"
#include "engine/erase.h"
#include "engine/normal.h"
#include "engine/shared_values.h"
#include "engine/tick_rules.h"
#include "engine/winapp2.h"
#include "platform/path_rules.h"
#include "platform/regfun.h"
#include "platform/text.h"

namespace hm {
namespace {

constexpr const char* kUsage =
    "usage: hushmark-cli list | clean | preview | thumbs | search | shred | regscan | regfix |\n"
    "                    regrestore\n"
    "  list     every built-in item in pass order: section, key, label, ticked, built; then\n"
    "           the rules of winapp2.ini that apply here: Winapp2, name, group, ticked, or\n"
    "           refused and the reason\n"
    "  clean    erase every ticked item and print each result\n"
    "  preview  the same pass, changing nothing; lists what would be removed\n"
    "  thumbs   removes the hidden Thumbs.db files below the user's profile folder (what\n"
    "           delThumbs.bat runs); links are not followed\n"
    "  search FOLDER [PATTERNTEXT] [--no-subfolders]\n"
    "           lists the files below FOLDER whose names the \";\"-separated patterns find (by\n"
    "           default those of Ext.txt), as the search window does, then its summary;\n"
    "           deletes nothing\n"
    "  shred [--passes N] PATH...\n"
    "           overwrites each file (every file of each folder) with N passes of random data\n"
    "           (1 to 3, default 1) and deletes it, without asking; prints one line per item;\n"
    "           exits with 1 when something was refused or could not be shredded\n"
    "  regscan  lists the registry entries that point at missing things: category, key, value\n"
    "           name (empty for a whole key), what it points at; TAB-separated\n"
    "  regfix [--backup FILE]\n"
    "           removes every finding ticked by default (all but uninstall entries) after\n"
    "           writing them to FILE (default: a new file in the folder Backups); 1 when some\n"
    "           stayed, 5 when the backup could not be written (nothing changed)\n"
    "  regrestore FILE\n"
    "           writes the keys and values of a backup back; 5 when FILE is no backup\n"
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

// The community rules of winapp2.ini that apply here, by group: ticked or not, or refused with
// the reason.
void ListWinapp2Rules(const std::string& programFolder, const std::string& settings) {
    const std::string file = Winapp2FilePath(programFolder);
    const Winapp2Load load = LoadWinapp2(file);
    if (load.error != 0) {
        PrintErr("hushmark-cli: " + file + " cannot be read (error " +
                 std::to_string(load.error) + ")\n");
    }
    Winapp2Machine machine;
    machine.Protect(programFolder);
    for (const Winapp2Group& group : ListWinapp2(load.rules, machine)) {
        for (const Winapp2Entry& entry : group.entries) {
            const std::string state =
                !entry.refusal.empty() ? "refused\t" + entry.refusal
                : IsWinapp2Ticked(settings, entry.name) ? "ticked"
                                                        : "not ticked";
            PrintOut(std::string(kWinapp2Section) + "\t" + entry.name + "\t" + group.name + "\t" +
                     state + "\n");
        }
    }
}

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
    ListWinapp2Rules(programFolder, settings);
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
    if (argc >= 3 && Narrow(argv[1]) == "search") {
        std::vector<std::string> words;
        for (int index = 2; index < argc; ++index) {
            words.push_back(Narrow(argv[index]));
        }
        const int code = SearchVerb(words, programFolder);
        if (code >= 0) {
            return code;
        }
    }
    if (argc >= 2 && Narrow(argv[1]) == "shred") {
        std::vector<std::string> words;
        for (int index = 2; index < argc; ++index) {
            words.push_back(Narrow(argv[index]));
        }
        return ShredCommand(words);
    }
    if (argc >= 2 && IsRegistryVerb(Narrow(argv[1]))) {
        std::vector<std::string> words;
        for (int index = 1; index < argc; ++index) {
            words.push_back(Narrow(argv[index]));
        }
        const int code = RunRegistryVerb(words, programFolder);
        if (code != kExitUsage) {
            return code;
        }
    }
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
