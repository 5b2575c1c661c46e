#include "platform/shred_rules.h"

namespace hm::shred {

std::string GroupedNumber(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<size_t>(at), ",");
    }
    return digits;
}

std::string Counted(std::uint64_t count, std::string_view noun) {
    return GroupedNumber(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}

bool IsInUse(std::uint32_t error) {
    return error == 32 || error == 33;  // sharing and lock violations
}

std::string ReasonText(std::uint32_t error) {
    switch (error) {
        case 0:
            return "shredded";
        case 2:
        case 3:
            return "not found (it may have been moved or deleted meanwhile)";
        case 5:
            return "access denied";
        case 32:
        case 33:
            return "in use by another program";
        case 50:
            return "not a file of the disk (a device or pipe)";
        case 112:
            return "the disk is full";
        case 123:
            return "its name cannot be used";
        case 145:
            return "something inside it stays";
        case 267:
        case 336:
            return "it changed from file to folder, or back, since it was listed";
        case 1223:
            return "stopped before it was finished; the file is kept, partly overwritten";
        case 1920:
            return "it is a link, or is reached through one; what it points to is kept";
        default:
            return "error " + std::to_string(error);
    }
}

std::string MethodText(int passes) {
    return passes == 1 ? "one pass of random data"
                       : std::to_string(passes) + " passes of random data";
}

std::string ConfirmationText(std::uint64_t files, std::uint64_t bytes, std::uint64_t links,
                             int passes) {
    std::string text =
        "Shred " + Counted(files, "file") + " (" + Counted(bytes, "byte") + ") for good?\n\n";
    text += "They are overwritten with " + MethodText(passes) +
            " and deleted. They cannot be brought back, not even from the Recycle Bin.";
    if (links > 0) {
        text += "\n\n" + Counted(links, "link") +
                " inside will be removed as links; the files and folders they point to are kept.";
    }
    return text;
}

std::optional<int> ParsePasses(std::string_view text) {
    if (text.size() != 1 || text[0] < '1' || text[0] > '3') {
        return std::nullopt;
    }
    return text[0] - '0';
}

}  // namespace hm::shred
