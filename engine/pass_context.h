// What an item's actions work with: the folder resolver, the eraser (every change goes through
// it), the keep lists, the shared values, registry reads, the screen and the clock. The pass
// makes one per pass; special steps receive it whole.
#pragma once

#include <functional>
#include <string>

#include "engine/catalogue.h"
#include "engine/erase.h"
#include "engine/folder_resolver.h"
#include "engine/pass_ui.h"
#include "engine/shared_values.h"
#include "keeplists/keep_lists.h"
#include "platform/regfun.h"

namespace hm {

// What an action adds to the pass counters.
struct Counts {
    double registryKeys = 0;
    double bytes = 0;
    Counts& operator+=(const Counts& other) {
        registryKeys += other.registryKeys;
        bytes += other.bytes;
        return *this;
    }
};

struct PassContext {
    FolderResolver& folders;
    Eraser& eraser;
    KeepLists& keepLists;
    const SharedValues& values;
    Regfun& registry;
    PassUi& ui;
    std::string programFolder;
    std::string dataFolder;  // holds the settings file and its lists (cusd.dat, winapp2.ini)
    std::function<std::string()> now;  // the date-time text of the clock
    // The current item's result text: "Done" unless a step says otherwise.
    std::string result;
};

// Performs one action of an item and returns what it adds to the counters. Special steps go to
// their handlers (engine/steps/).
Counts Run(const Action& action, PassContext& context);

}  // namespace hm
