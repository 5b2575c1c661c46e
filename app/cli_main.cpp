// hushmark-cli: the cleaning pass from the command line.
//   hushmark-cli list     every built-in item in pass order, ticked or not, built or not, then
//                         the community rules of winapp2.ini that apply here
//   hushmark-cli clean    runs the pass
//   hushmark-cli preview  runs the pass without changing anything and lists what would go
//   hushmark-cli search   the search window's file search, listing only (app/cli_search.cpp)
//   hushmark-cli shred    the file shredder without its window (app/cli_shred.cpp)
//   hushmark-cli regscan | regfix | regrestore   the registry cleaner (app/cli_registry.cpp)
//   hushmark-cli help | --version
// list, clean and preview take --settings FILE (another settings file, whose folder then holds
// the lists); clean and preview take --json (app/cli_options_rules.cpp reads the words).
#include <windows.h>

#include <string>
#include <vector>

#include "app/cli_options_rules.h"
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
#include "hm_version.h"

namespace hm {
namespace {

constexpr const char* kUsage =
    "usage: hushmark-cli [--settings FILE] list | clean | preview [--json]\n"
    "       hushmark-cli thumbs | search | shred | regscan | regfix | regrestore | help\n"
    "       hushmark-cli --version\n"
    "  list     every built-in item in pass order: section, key, label, ticked, built; then\n"
    "           the rules of winapp2.ini that apply here: Winapp2, name, group, ticked, or\n"
    "           refused and the reason\n"
    "  clean    erase every ticked item and print each result\n"
    "  preview  the same pass, changing nothing; lists what would be removed\n"
    "  --settings FILE\n"
    "           list, clean and preview use FILE instead of hushsd.dat beside the program,\n"
    "           and the lists in its folder (cusd.dat, keepurl.dat, keepcook.dat, plus-in,\n"
    "           winapp2.ini); a relative FILE starts from the current folder\n"
    "  --json   clean and preview print one JSON object a line: a \"row\" per item with\n"
    "           what it removed (or would remove) and what stayed, then the \"totals\"\n"
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
    "  help     prints this text; --version prints the version\n"
    "exit codes: 0 done; 1 some ticked item left things behind that were in use or could not\n"
    "be removed (clean only); 2 usage; 3 the settings file cannot be read (missing, a folder,\n"
    "or too large); 4 another pass on the same settings folder did not end in time\n";

// Exit codes, as the usage text lists them.
constexpr int kExitDone = 0;
constexpr int kExitLeftovers = 1;
constexpr int kExitUsage = 2;
constexpr int kExitSettingsUnreadable = 3;
constexpr int kExitBusy = 4;

// Where list, clean and preview find their settings: beside the program, or the --settings file
// and the folder that holds it.
struct SettingsPlace {
    std::string dataFolder;
    std::string settingsFile;
};

// How long a command-line pass waits for another pass on the same settings folder.
constexpr unsigned kLockWaitMilliseconds = 5000;

// The community rules of winapp2.ini that apply here, by group: ticked or not, or refused with
// the reason.
void ListWinapp2Rules(const std::string& programFolder, const SettingsPlace& place) {
    const std::string& settings = place.settingsFile;
    const std::string file = Winapp2FilePath(place.dataFolder);
    const Winapp2Load load = LoadWinapp2(file);
    if (load.error != 0) {
        PrintErr("hushmark-cli: " + file + " cannot be read (error " +
                 std::to_string(load.error) + ")\n");
    }
    Winapp2Machine machine;
    machine.Protect(programFolder);
    machine.Protect(place.dataFolder);
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

int List(const std::string& programFolder, const SettingsPlace& place) {
    const std::string& settings = place.settingsFile;
    if (!CheckIniFile(settings).readable) {
        PrintErr("hushmark-cli: the settings file " + settings + " is too large to be read\n");
        return kExitSettingsUnreadable;
    }
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
    ListWinapp2Rules(programFolder, place);
    return kExitDone;
}

int Clean(const std::string& programFolder, const SettingsPlace& place, bool preview, bool json) {
    CliUi ui(preview, json);
    Regfun registry(ui);
    SharedValues values;
    ComputeSharedValues(values, registry);

    PassSetup setup;
    setup.programFolder = programFolder;
    setup.dataFolder = place.dataFolder;
    setup.settingsFile = place.settingsFile;
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
            PrintErr("hushmark-cli: another cleaning pass is running for " + place.dataFolder +
                     "; try again when it has ended\n");
            return kExitBusy;
        case PassStart::SettingsTooLarge:
            return kExitSettingsUnreadable;  // the pass has said why on standard error
    }
    const int code = !preview && result.leftovers > 0 ? kExitLeftovers : kExitDone;
    if (json) {
        ui.PrintJsonTotals({result.registryKeys, result.bytes, result.leftovers,
                            result.itemsWithLeftovers, result.exited, code});
        return code;
    }
    if (result.exited) {
        return code;
    }
    if (preview) {
        ui.PrintPreviewReport(result.registryKeys, result.bytes, SummaryOf(result));
        return code;
    }
    PrintOut(SummaryOf(result) + "\n");
    return code;
}

// The --settings file as a full path (a relative one starts from the current folder) and its
// folder; false, after saying why, when there is no such file.
bool FindSettingsFile(const std::string& given, SettingsPlace& place) {
    const std::wstring wide = Widen(given);
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()),
                                              full.data(), nullptr);
        if (length == 0) {
            PrintErr("hushmark-cli: the settings file " + given + " cannot be found (error " +
                     std::to_string(GetLastError()) + ")\n");
            return false;
        }
        if (length < full.size()) {
            full.resize(length);
            break;
        }
        full.resize(length);
    }
    const std::string path = Narrow(full);
    const DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        PrintErr("hushmark-cli: the settings file " + path + " does not exist (error " +
                 std::to_string(GetLastError()) + ")\n");
        return false;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        PrintErr("hushmark-cli: " + path + " is a folder, not a settings file\n");
        return false;
    }
    place.settingsFile = path;
    place.dataFolder = std::string(ParentOf(path));
    return true;
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
    std::vector<std::string> words;
    for (int index = 1; index < argc; ++index) {
        words.push_back(Narrow(argv[index]));
    }
    const std::string first = words.empty() ? std::string() : words.front();
    const std::vector<std::string> tail(words.begin() + (words.empty() ? 0 : 1), words.end());
    const std::string programFolder = ProgramFolder();
    // search, shred and the registry verbs read their own words.
    if (first == "search" && !tail.empty()) {
        const int code = SearchVerb(tail, programFolder);
        if (code >= 0) {
            return code;
        }
    } else if (first == "shred") {
        return ShredCommand(tail);
    } else if (IsRegistryVerb(first)) {
        const int code = RunRegistryVerb(words, programFolder);
        if (code != kExitUsage) {
            return code;
        }
    } else {
        const CliOptions options = ParseCliOptions(words);
        if (options.error.empty()) {
            if (options.version) {
                PrintOut("hushmark-cli " HM_VERSION_TEXT "\n");
                return kExitDone;
            }
            if (options.verb == "help") {
                PrintOut(kUsage);
                return kExitDone;
            }
            if (options.verb == "thumbs") {
                return Thumbs();
            }
            SettingsPlace place{programFolder, JoinPath(programFolder, "hushsd.dat")};
            if (!options.settingsFile.empty() && !FindSettingsFile(options.settingsFile, place)) {
                return kExitSettingsUnreadable;
            }
            if (options.verb == "list") {
                return List(programFolder, place);
            }
            return Clean(programFolder, place, options.verb == "preview", options.json);
        }
        if (!words.empty()) {
            PrintErr("hushmark-cli: " + options.error + "\n");
        }
    }
    PrintErr(kUsage);
    return kExitUsage;
}
