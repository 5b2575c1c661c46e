#include "support/shred_support.h"

#include <vector>

#include "platform/files.h"
#include "platform/text.h"
#include "support/sandbox.h"

namespace hm::test {

bool PreciousIntact() {
    const std::vector<std::string> expected{"inner\\", "inner\\keep.txt", "keep.txt"};
    return ListTree(kShredPrecious) == expected &&
           ReadShared(kShredPrecious + "\\keep.txt") == "keep me\n" &&
           ReadShared(kShredPrecious + "\\inner\\keep.txt") == "keep me\n";
}

std::string SecretText(std::size_t bytes) {
    std::string text;
    while (text.size() < bytes) {
        text += kSecret;
    }
    text.resize(bytes);
    return text;
}

bool MakeWitness(const std::string& file, const std::string& witness) {
    return CreateHardLinkW(files::ToLongPath(witness).c_str(), files::ToLongPath(file).c_str(),
                           nullptr) != FALSE;
}

std::string ReadShared(const std::string& path) {
    HANDLE handle = CreateFileW(files::ToLongPath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string text;
    std::vector<char> buffer(1 << 16);
    DWORD got = 0;
    while (ReadFile(handle, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) &&
           got > 0) {
        text.append(buffer.data(), got);
    }
    CloseHandle(handle);
    return text;
}

bool TreeHolds(const std::string& folder, const std::string& text) {
    for (const std::string& entry : ListTree(folder)) {
        if (!entry.empty() && entry.back() != '\\' &&
            ReadShared(folder + "\\" + entry).find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

HeldOpen::HeldOpen(const std::string& path)
    : handle_(CreateFileW(files::ToLongPath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr)) {
}

HeldOpen::~HeldOpen() {
    if (held()) {
        CloseHandle(handle_);
    }
}

EnvironmentGuard::EnvironmentGuard(const std::string& name, const std::string& value)
    : name_(Widen(name)) {
    std::wstring buffer(32768, L'\0');
    const DWORD length =
        GetEnvironmentVariableW(name_.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    had_ = length > 0 && length < buffer.size();
    old_ = had_ ? buffer.substr(0, length) : std::wstring();
    SetEnvironmentVariableW(name_.c_str(), Widen(value).c_str());
}

EnvironmentGuard::~EnvironmentGuard() {
    SetEnvironmentVariableW(name_.c_str(), had_ ? old_.c_str() : nullptr);
}

}  // namespace hm::test
