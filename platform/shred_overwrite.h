// The writing half of the shredder: random data, and overwriting every data stream of a file
// that platform/shred.cpp has opened and checked.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/shred.h"

namespace hm::shred {

// Others may go on reading while a file is overwritten; nobody may write to it or delete it.
inline constexpr DWORD kShareWhileWriting = FILE_SHARE_READ;

// Fresh random data for every chunk, fast enough not to be what the disk waits for: xoshiro256**
// seeded from the system's random number generator.
class RandomSource {
public:
    RandomSource();
    std::uint64_t Next();
    void Fill(std::vector<std::uint64_t>& words);

private:
    std::uint64_t state_[4] = {};
};

// Overwrites the whole allocated length of every data stream of the file (named streams first,
// then the file's own data), pass after pass, each pass flushed to the disk. file is a handle
// of the file at path, opened for writing and checked to be the file itself.
std::uint32_t OverwriteStreams(const std::wstring& path, HANDLE file, const Overwrite& how);

}  // namespace hm::shred
