// Helpers for the shredder's tests: secret contents to look for afterwards, a second hard link
// that shows whether a file was overwritten in place, a file held open by "another program",
// and the link trees that scripts/make-link-fixture makes.
#pragma once

#include <windows.h>

#include <string>

namespace hm::test {

// Made by scripts/make-link-fixture: "precious" holds keep.txt and inner\keep.txt ("keep me\n");
// each tree (plan, file, overwrite, engine, window, cli, guard) holds plain.txt, sub\plain.txt, a
// directory symlink "dirlink" and file symlinks "filelink" and "sub\keep.txt" into "precious".
inline const std::string kShredFixture = "C:\\hm-shred-fixture";
inline const std::string kShredPrecious = kShredFixture + "\\precious";
// precious is exactly as the fixture made it.
bool PreciousIntact();

inline constexpr const char* kSecret = "HUSHMARK-SECRET-";
// kSecret repeated up to the given length.
std::string SecretText(std::size_t bytes);

// A second name for the file's content, made as a hard link (a Unix hard link under Wine).
bool MakeWitness(const std::string& file, const std::string& witness);

// Reads a file while another handle may be writing to it.
std::string ReadShared(const std::string& path);

// True when any file below the folder (links not followed) holds the text.
bool TreeHolds(const std::string& folder, const std::string& text);

// A file held open the way a running browser holds its databases: reading and writing shared,
// deleting not.
class HeldOpen {
public:
    explicit HeldOpen(const std::string& path);
    ~HeldOpen();
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;
    bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Sets an environment variable for the guard's lifetime (the children started meanwhile inherit
// it), then puts the old value back.
class EnvironmentGuard {
public:
    EnvironmentGuard(const std::string& name, const std::string& value);
    ~EnvironmentGuard();
    EnvironmentGuard(const EnvironmentGuard&) = delete;
    EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;

private:
    std::wstring name_;
    std::wstring old_;
    bool had_ = false;
};

}  // namespace hm::test
