#include "platform/shred_overwrite.h"

#include <ntsecapi.h>

#include <algorithm>
#include <utility>

#include "platform/files.h"
#include "platform/handles.h"

namespace hm::shred {
namespace {

constexpr std::size_t kChunkBytes = 1 << 20;

std::uint64_t Rotate(std::uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}

std::uint32_t LastError() {
    return static_cast<std::uint32_t>(GetLastError());
}

}  // namespace

RandomSource::RandomSource() {
    if (!RtlGenRandom(state_, sizeof state_)) {
        LARGE_INTEGER counter;
        QueryPerformanceCounter(&counter);
        std::uint64_t seed = static_cast<std::uint64_t>(counter.QuadPart) ^ GetTickCount64();
        for (std::uint64_t& word : state_) {
            seed += 0x9E3779B97F4A7C15ull;  // splitmix64
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            word = z ^ (z >> 31);
        }
    }
    if ((state_[0] | state_[1] | state_[2] | state_[3]) == 0) {
        state_[0] = 1;
    }
}

std::uint64_t RandomSource::Next() {
    const std::uint64_t result = Rotate(state_[1] * 5, 7) * 9;
    const std::uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = Rotate(state_[3], 45);
    return result;
}

void RandomSource::Fill(std::vector<std::uint64_t>& words) {
    for (std::uint64_t& word : words) {
        word = Next();
    }
}

namespace {

// The named data streams of a file (":name:$DATA"); none where the file system keeps no streams
// or cannot list them.
std::uint32_t NamedStreams(HANDLE file, std::vector<std::wstring>& names) {
    std::vector<std::uint64_t> buffer(512);
    for (;;) {
        const DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(std::uint64_t));
        if (GetFileInformationByHandleEx(file, FileStreamInfo, buffer.data(), bytes)) {
            break;
        }
        const std::uint32_t error = LastError();
        if (error == ERROR_MORE_DATA || error == ERROR_INSUFFICIENT_BUFFER) {
            if (buffer.size() >= (1u << 20)) {
                return error;
            }
            buffer.resize(buffer.size() * 4);
            continue;
        }
        const bool noStreams = error == ERROR_HANDLE_EOF || error == ERROR_INVALID_FUNCTION ||
                               error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_PARAMETER ||
                               error == ERROR_CALL_NOT_IMPLEMENTED;
        return noStreams ? 0 : error;
    }
    const auto* at = reinterpret_cast<const BYTE*>(buffer.data());
    for (;;) {
        const auto* stream = reinterpret_cast<const FILE_STREAM_INFO*>(at);
        const std::wstring name(stream->StreamName, stream->StreamNameLength / sizeof(wchar_t));
        if (name != L"::$DATA" && name.size() > 7 &&
            name.compare(name.size() - 6, 6, L":$DATA") == 0) {
            names.push_back(name);
        }
        if (stream->NextEntryOffset == 0) {
            break;
        }
        at += stream->NextEntryOffset;
    }
    return 0;
}

std::uint32_t LengthOf(HANDLE stream, std::uint64_t& length) {
    FILE_STANDARD_INFO standard{};
    if (!GetFileInformationByHandleEx(stream, FileStandardInfo, &standard, sizeof standard)) {
        return LastError();
    }
    length = static_cast<std::uint64_t>(
        std::max(standard.AllocationSize.QuadPart, standard.EndOfFile.QuadPart));
    return 0;
}

bool SameFile(HANDLE a, HANDLE b) {
    BY_HANDLE_FILE_INFORMATION one{};
    BY_HANDLE_FILE_INFORMATION two{};
    return GetFileInformationByHandle(a, &one) && GetFileInformationByHandle(b, &two) &&
           one.dwVolumeSerialNumber == two.dwVolumeSerialNumber &&
           one.nFileIndexHigh == two.nFileIndexHigh && one.nFileIndexLow == two.nFileIndexLow;
}

// Writes random data over one stream's length, pass after pass, each flushed to the disk.
class Writer {
public:
    Writer(const Overwrite& how, std::uint64_t total) : how_(how), total_(total) {}

    std::uint32_t Over(HANDLE stream, std::uint64_t length) {
        for (int pass = 0; pass < how_.passes; ++pass) {
            LARGE_INTEGER start{};
            if (!SetFilePointerEx(stream, start, nullptr, FILE_BEGIN)) {
                return LastError();
            }
            std::uint64_t left = length;
            while (left > 0) {
                if (chunk_.empty()) {
                    chunk_.resize(kChunkBytes / sizeof(std::uint64_t));
                }
                random_.Fill(chunk_);
                const DWORD size = static_cast<DWORD>(std::min<std::uint64_t>(left, kChunkBytes));
                DWORD put = 0;
                if (!WriteFile(stream, chunk_.data(), size, &put, nullptr)) {
                    return LastError();
                }
                if (put == 0) {
                    return ERROR_WRITE_FAULT;
                }
                left -= put;
                written_ += put;
                if (how_.progress && !how_.progress(written_, total_)) {
                    return kErrorStopped;
                }
            }
            if (!FlushFileBuffers(stream)) {
                return LastError();
            }
        }
        return 0;
    }

private:
    const Overwrite& how_;
    std::uint64_t total_;
    std::uint64_t written_ = 0;
    RandomSource random_;
    std::vector<std::uint64_t> chunk_;
};

}  // namespace

std::uint32_t OverwriteStreams(const std::wstring& path, HANDLE file, const Overwrite& how) {
    if (how.passes < 1 || how.passes > kMaxPasses) {
        return ERROR_INVALID_PARAMETER;
    }
    std::vector<std::wstring> names;
    std::uint32_t error = NamedStreams(file, names);
    if (error != 0) {
        return error;
    }
    std::vector<ScopedHandle> streams;
    std::vector<std::uint64_t> lengths;
    std::uint64_t total = 0;
    for (const std::wstring& name : names) {
        ScopedHandle stream(CreateFileW((path + name).c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES,
                                        kShareWhileWriting, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!stream.valid()) {
            return LastError();
        }
        if (!SameFile(stream.get(), file)) {
            return files::kErrorLinkNotAddressable;
        }
        std::uint64_t length = 0;
        if ((error = LengthOf(stream.get(), length)) != 0) {
            return error;
        }
        total += length * static_cast<std::uint64_t>(how.passes);
        lengths.push_back(length);
        streams.push_back(std::move(stream));
    }
    std::uint64_t mainLength = 0;
    if ((error = LengthOf(file, mainLength)) != 0) {
        return error;
    }
    total += mainLength * static_cast<std::uint64_t>(how.passes);
    Writer writer(how, total);
    for (size_t i = 0; i < streams.size(); ++i) {
        if ((error = writer.Over(streams[i].get(), lengths[i])) != 0) {
            return error;
        }
    }
    return writer.Over(file, mainLength);
}

}  // namespace hm::shred
