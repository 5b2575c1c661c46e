// Throwaway folders, registry keys and a recording message sink for the tests that run under
// Wine. Every folder lives below the sandbox user's temp folder; every key below
// HKEY_CURRENT_USER\Software\HushmarkTests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/user_messages.h"

namespace hm::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // path & "\" & relative
    std::string operator/(const std::string& relative) const;

private:
    std::string path_;
};

class TempRegKey {
public:
    TempRegKey();
    ~TempRegKey();
    TempRegKey(const TempRegKey&) = delete;
    TempRegKey& operator=(const TempRegKey&) = delete;

    // Below HKEY_CURRENT_USER, without the root's name.
    const std::string& subKey() const { return subKey_; }
    // "HKEY_CURRENT_USER\" & subKey()
    std::string fullPath() const;

private:
    std::string subKey_;
};

// Makes a folder the process's current folder for the guard's lifetime.
class CurrentFolderGuard {
public:
    explicit CurrentFolderGuard(const std::string& folder);
    ~CurrentFolderGuard();
    CurrentFolderGuard(const CurrentFolderGuard&) = delete;
    CurrentFolderGuard& operator=(const CurrentFolderGuard&) = delete;

private:
    std::string previous_;
};

// Files and folders (paths in UTF-8; long paths allowed).
void MakeFolders(const std::string& folder);
void WriteFileOfSize(const std::string& file, std::size_t bytes, char fill = 'x');
void WriteFileText(const std::string& file, const std::string& bytes);
std::string ReadFileText(const std::string& file);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
std::uint32_t AttributesOf(const std::string& path);
void SetAttributes(const std::string& path, std::uint32_t attributes);
// Removes a tree without following links; used by the fixtures' own clean-up.
void RemoveTree(const std::string& folder);
// Sorted relative paths of everything below the folder (folders end with "\"), not following links.
std::vector<std::string> ListTree(const std::string& folder);

// Registry helpers below HKEY_CURRENT_USER.
void SetRegText(const std::string& subKey, const std::string& name, const std::string& text);
bool RegKeyExists(const std::string& subKey);
bool RegValueExists(const std::string& subKey, const std::string& name);
void CreateKey(const std::string& subKey);

struct Told {
    std::string text;
    std::string title;
    MessageIcon icon;
};

class RecordingMessages : public UserMessages {
public:
    void Tell(const std::string& text, const std::string& title, MessageIcon icon) override {
        told.push_back({text, title, icon});
    }
    std::vector<Told> told;
};

// The folder holding the running test executable.
std::string ExecutableFolder();

}  // namespace hm::test
