// How the application starts other programs and opens documents and web pages. The window tests
// put a recorder in its place, so that no browser, mail program or help viewer starts.
#pragma once

#include <string>

namespace hm {

class Launcher {
public:
    virtual ~Launcher() = default;
    // Opens a file, folder, web address or "mailto:" with its associated program.
    virtual void Open(const std::string& target) = 0;
    // Starts a command line in a normal window; a failure goes unnoticed.
    virtual void Start(const std::string& commandLine) = 0;
};

class ShellLauncher : public Launcher {
public:
    void Open(const std::string& target) override;
    void Start(const std::string& commandLine) override;
};

}  // namespace hm
