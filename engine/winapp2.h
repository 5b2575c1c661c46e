// Community cleaning rules (winapp2.ini) on this machine: the folders their variables stand for,
// which rules apply here, which must be refused and why, and running a ticked rule through the
// eraser, so that a preview lists every file, folder, key and value it would remove.
//
// The rule file is "winapp2.ini" in the program folder; the user's chosen file is copied there.
// Ticks live in the settings file, section "Winapp2", one key per rule name, "1" when ticked.
// Ticked rules run in the pass right after the plug-in items, one result row each.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/winapp2_rules.h"
#include "engine/pass_context.h"
#include "engine/winapp2_machine.h"

namespace hm {

struct PassResult;

inline constexpr const char* kWinapp2Section = "Winapp2";

// program folder & "\winapp2.ini"
std::string Winapp2FilePath(const std::string& programFolder);

struct Winapp2Load {
    bool found = false;       // the file is there
    std::uint32_t error = 0;  // why it could not be read (0 when it was, or is not there)
    Winapp2Rules rules;
};
// Reads a rule file of up to 64 MiB.
Winapp2Load LoadWinapp2(const std::string& file);

// Copies the chosen file beside the program as winapp2.ini, through a temporary file that then
// replaces the old one in one step, so that the program never sees half a file. A file that
// cannot be read, or that holds no rule, is refused and the old file stays. problem receives the
// reason for the user; 0 on success.
std::uint32_t ImportWinapp2(const std::string& chosen, const std::string& programFolder,
                            std::string& problem);

// A file key resolved to the folders it acts on, and the exclusions of its rule.
struct Winapp2Target {
    const Winapp2FileKey* key = nullptr;
    std::string folder;  // an existing folder, reached without passing a link
};

struct Winapp2Plan {
    bool detected = false;
    std::string refusal;  // why the rule may not run; empty when it may
    std::vector<Winapp2Target> targets;
    std::vector<Winapp2FileExclusion> exclusions;  // lower case
};

// Whether the rule applies here (one of its Detect keys or DetectFile paths is there, or it
// has none) and, when it does, whether it must be refused: a line that cannot be read, a name
// the settings cannot store, a path with an unexpanded variable, a network path, a folder
// reached through a link, a wide key on a drive root or protected folder, a whole registry key
// Windows needs. The targets are the folders the file keys reach now.
// lookups, when given, keeps what was found out about folders for the next rule (a listing).
Winapp2Plan PlanWinapp2Rule(const Winapp2Rule& rule, const Winapp2Machine& machine,
                            Winapp2Lookups* lookups = nullptr);

// Runs a planned rule that applies and is not refused: its file keys through the eraser
// (exclusions first), then its registry keys. Returns the bytes of the files it selected and
// one per registry key or value it selected; a preview returns the same and changes nothing.
Counts CleanWinapp2Rule(const Winapp2Rule& rule, const Winapp2Plan& plan, Eraser& eraser);

// The rules that apply here, grouped for the clean-items dialog's tab: groups by name, rules in
// file order. index is the rule's place in rules.rules.
struct Winapp2Entry {
    std::size_t index = 0;
    std::string name;
    std::string warning;  // shown before the rule is ticked
    std::string refusal;  // listed as refused, with this reason, when not empty
};
struct Winapp2Group {
    std::string name;
    std::vector<Winapp2Entry> entries;
};
std::vector<Winapp2Group> ListWinapp2(const Winapp2Rules& rules, const Winapp2Machine& machine);

bool IsWinapp2Ticked(const std::string& settingsFile, const std::string& name);
void TickWinapp2(const std::string& settingsFile, const std::string& name, bool ticked);

// Runs every ticked rule of the program folder's winapp2.ini that applies here, one row each,
// adding what each removed to the totals.
void RunWinapp2Items(PassContext& context, const std::string& settingsFile, SharedValues& totals,
                     PassResult& result);

}  // namespace hm
