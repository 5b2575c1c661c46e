// Which paths the file shredder refuses before it looks at them any further: anything that is
// not a plain full path, drive and share roots, the Windows folder and the program-files
// folders with everything in them, this program's own folder with everything in it, the user
// profile folder itself, and every folder that holds one of these. A path is judged both as
// written (after "..", "." and short names are resolved) and as the system resolves it through
// any link on the way, so that a link cannot lead into a refused folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hm::shred {

struct ProtectedFolder {
    std::wstring path;  // "\\?\" form
    std::string what;   // "the Windows folder"
    bool withContents;  // everything inside is refused too
};

struct Verdict {
    std::wstring path;    // the path in "\\?\" form, spelled as the file system stores it
    std::string refusal;  // why it is refused ("it is the Windows folder"); empty when it is not
    bool refused() const { return !refusal.empty(); }
};

class Guard {
public:
    explicit Guard(std::vector<ProtectedFolder> folders);

    // The folders of this machine, user and program: the Windows folder, the program-files
    // folders, the user profile folder and the folder of this executable, each as the system
    // reports it and as the environment variables name it (SystemRoot, windir, ProgramFiles,
    // ProgramFiles(x86), ProgramW6432, USERPROFILE).
    static Guard ForThisProcess();

    // path: UTF-8, as the user gave it.
    Verdict Check(std::string_view path) const;

    const std::vector<ProtectedFolder>& folders() const { return folders_; }

private:
    std::string Judge(const std::wstring& path) const;

    std::vector<ProtectedFolder> folders_;
};

// The "\\?\" path spelled as the file system stores each existing part (long names, letter case);
// parts that do not exist are kept as given.
std::wstring StoredSpelling(const std::wstring& longPath);

}  // namespace hm::shred
