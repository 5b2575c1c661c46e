// The words of a command line for the pass verbs (list, clean, preview, thumbs, help) and the
// options that go with them, in any order: --settings FILE, --json, --version.
#pragma once

#include <string>
#include <vector>

namespace hm {

struct CliOptions {
    std::string verb;          // list, clean, preview, thumbs or help; empty for --version
    std::string settingsFile;  // as given after --settings; empty when not given
    bool json = false;         // --json: one JSON object per line
    bool version = false;      // --version
    std::string error;         // why the words make no command; empty when they do
};

// Reads the words after the program's name. "--help" stands for "help"; "--settings=FILE" is the
// same as "--settings FILE".
CliOptions ParseCliOptions(const std::vector<std::string>& words);

}  // namespace hm
