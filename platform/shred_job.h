// What shredding a list of files and folders destroys, and the run that destroys it: the same
// code serves the shredder's window and "hushmark-cli shred". The plan is made first, so that
// the confirmation can name how many files and bytes go, and the run then handles exactly the
// planned items, each through the checks of platform/shred.h.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/shred_guard.h"

namespace hm::shred {

enum class ItemKind { File, Link, Folder };

struct PlannedItem {
    std::wstring path;  // "\\?\" form
    ItemKind kind = ItemKind::File;
    std::uint64_t size = 0;  // a file's size as listed
};

struct Refusal {
    std::string path;  // as given
    std::string reason;
};

struct Plan {
    // Files and links in the order their folders list them, each folder after everything in it.
    std::vector<PlannedItem> items;
    // Given paths that are not planned, and folders whose contents cannot be listed.
    std::vector<Refusal> refused;
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
    std::uint64_t links = 0;
    std::uint64_t folders = 0;
};

// Plans the given paths (UTF-8, as the user gave them). A path the guard refuses, or that does
// not exist, is refused; a path inside another given folder is planned once. Folders are walked
// at every depth; a link (junction, symbolic link) is planned for removal as itself and never
// followed.
Plan MakePlan(const std::vector<std::string>& paths, const Guard& guard);

struct ItemResult {
    std::string path;  // as people read it
    ItemKind kind = ItemKind::File;
    std::uint64_t size = 0;
    std::uint32_t error = 0;   // 0: the item is gone
    bool overwritten = false;  // a file whose every pass reached the disk
};

struct RunHooks {
    // The bytes of the planned files handled so far (the part of the current file written
    // included) and the plan's total; called while files are written and after every item.
    // Returning false stops the run.
    std::function<bool(std::uint64_t done, std::uint64_t total)> progress;
    std::function<void(const ItemResult&)> itemDone;
};

struct RunReport {
    std::vector<ItemResult> results;  // every item handled, in order
    std::uint64_t filesShredded = 0;
    std::uint64_t bytesShredded = 0;
    std::uint64_t kept = 0;        // items handled that stay
    std::uint64_t notStarted = 0;  // planned files not touched because the run was stopped
    bool stopped = false;
};

RunReport RunPlan(const Plan& plan, int passes, const RunHooks& hooks);

// "Shredded 998 files (1,046,478,848 bytes) with one pass of random data. 2 items are kept..."
std::string SummaryText(const RunReport& report, std::size_t refused, int passes);

}  // namespace hm::shred
