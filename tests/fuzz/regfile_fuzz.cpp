// Feeds arbitrary bytes to the registry cleaner's file and command-line rules: the backup
// reader (anything it accepts must write back to the same file content and read back equal),
// the backup writer on arbitrary values, and the command-line reading of the scan.
// Build with clang's libFuzzer (scripts/fuzz); a broken invariant aborts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "regclean/judge_rules.h"
#include "regclean/regfile_rules.h"

namespace {

using namespace hm::regclean;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

class FixedOracle : public PathOracle {
public:
    PathState Probe(const std::string& path) override {
        return path.size() % 3 == 0 ? PathState::Exists : PathState::Missing;
    }
    std::vector<std::string> Variable(std::string_view name) override {
        if (name == "A") {
            return {"C:\\a"};
        }
        if (name == "B") {
            return {"C:\\b1", "C:\\b 2"};
        }
        return {};
    }
    SystemFolders Folders() override { return {"C:\\Windows", true, true}; }
};

void ReadAndWriteBack(std::string_view bytes) {
    const RegFile read = DecodeRegFile(bytes);
    if (!read.ok) {
        Require(!read.error.empty() && read.sections.empty());
        return;
    }
    const std::string written = EncodeRegFile(read.sections);
    Require(!written.empty());
    const RegFile again = DecodeRegFile(written);
    Require(again.ok && again.sections == read.sections);
}

// First byte: type; up to the next NUL: the name; the rest: the data.
void WriteAnyValue(std::string_view bytes) {
    if (bytes.empty()) {
        return;
    }
    const std::uint32_t type = static_cast<unsigned char>(bytes[0]) % 13;
    bytes.remove_prefix(1);
    const std::size_t cut = std::min(bytes.find('\0'), bytes.size());
    std::string name(bytes.substr(0, cut));
    if (!CanWriteName(name)) {
        name = "n";
    }
    const std::string data(bytes.substr(std::min(cut + 1, bytes.size())));
    const std::vector<RegSection> sections = {{"HKEY_CURRENT_USER\\K", {{name, type, data}}}};
    const RegFile read = DecodeRegFile(EncodeRegFile(sections));
    Require(read.ok && read.sections == sections);
}

void ReadCommandLines(std::string_view text) {
    FixedOracle oracle;
    Require(ExpandVariables(text, oracle).size() <= 16);
    const Target target = CommandTarget(text);
    Require(target.judgeable == !target.candidates.empty());
    for (const std::string& candidate : target.candidates) {
        Require(!candidate.empty() && candidate.find('"') == std::string::npos);
    }
    const Verdict verdict = JudgeCommand(text, oracle);
    if (verdict.state == PathState::Missing) {
        Require(!verdict.pointsAt.empty());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ReadAndWriteBack(bytes);
    WriteAnyValue(bytes);
    ReadCommandLines(bytes);
    return 0;
}
