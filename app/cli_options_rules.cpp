#include "app/cli_options_rules.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace hm {
namespace {

constexpr std::array<std::string_view, 5> kVerbs = {"list", "clean", "preview", "thumbs", "help"};
constexpr std::string_view kSettingsEquals = "--settings=";

bool IsVerb(std::string_view word) {
    return std::find(kVerbs.begin(), kVerbs.end(), word) != kVerbs.end();
}

}  // namespace

CliOptions ParseCliOptions(const std::vector<std::string>& words) {
    CliOptions options;
    bool settingsGiven = false;
    std::vector<std::string> rest;
    const auto fail = [&](std::string why) {
        CliOptions failed;
        failed.error = std::move(why);
        return failed;
    };
    for (size_t index = 0; index < words.size(); ++index) {
        const std::string& word = words[index];
        if (word == "--settings" || word.rfind(kSettingsEquals, 0) == 0) {
            if (settingsGiven) {
                return fail("--settings is given twice");
            }
            settingsGiven = true;
            if (word == "--settings") {
                if (index + 1 >= words.size()) {
                    return fail("--settings needs a file");
                }
                options.settingsFile = words[++index];
            } else {
                options.settingsFile = word.substr(kSettingsEquals.size());
            }
            if (options.settingsFile.empty()) {
                return fail("--settings needs a file");
            }
        } else if (word == "--json") {
            options.json = true;
        } else if (word == "--version") {
            options.version = true;
        } else if (word == "--help") {
            rest.push_back("help");
        } else if (word.size() > 1 && word[0] == '-') {
            return fail("unknown option " + word);
        } else {
            rest.push_back(word);
        }
    }
    if (options.version) {
        if (!rest.empty() || settingsGiven || options.json) {
            return fail("--version goes alone");
        }
        return options;
    }
    if (rest.empty()) {
        return fail("no command given");
    }
    if (rest.size() > 1) {
        return fail("one command at a time, and " + rest[0] + " takes no further words");
    }
    if (!IsVerb(rest[0])) {
        return fail("unknown command " + rest[0]);
    }
    options.verb = rest[0];
    if (options.json && options.verb != "clean" && options.verb != "preview") {
        return fail("--json goes with clean and preview");
    }
    if (settingsGiven && options.verb != "clean" && options.verb != "preview" &&
        options.verb != "list") {
        return fail("--settings goes with list, clean and preview");
    }
    return options;
}

}  // namespace hm
