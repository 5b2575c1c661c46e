// Runs a program and collects what it prints, for the tests of the command line.
#pragma once

#include <string>
#include <vector>

namespace hm::test {

struct ProcessResult {
    unsigned long exitCode = 0xFFFFFFFF;
    std::string out;  // standard output, CR LF turned into LF
    std::string err;
};

ProcessResult RunProgram(const std::string& exe, const std::vector<std::string>& args);

std::vector<std::string> SplitLines(const std::string& text);

// A snapshot of every value below HKEY_CURRENT_USER\<subKey> (names, types and data), to tell
// whether a run changed the registry.
std::string RegistrySnapshot(const std::string& subKey);

bool CopyFileTo(const std::string& from, const std::string& to);

}  // namespace hm::test
