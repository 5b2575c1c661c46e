// "hushmark-cli shred [--passes N] PATH...": the file shredder without its window.
#pragma once

#include <string>
#include <vector>

namespace hm {

// args: what follows "shred" on the command line. Prints one line per item and returns the exit
// code: 0 when everything given was shredded, 1 when something was refused or stays, 2 for a
// usage error.
int ShredCommand(const std::vector<std::string>& args);

}  // namespace hm
