// The user's keep lists, as the cleaning pass reads them: typed addresses to write back after the
// typed-address list is erased, and cookie files to spare.
#pragma once

#include <string>
#include <vector>

namespace hm {

class KeepLists {
public:
    virtual ~KeepLists() = default;
    // The URL keep list, in list order.
    virtual std::vector<std::string> KeptAddresses() = 0;
    // The cookie keep list: full paths of cookie files, in list order.
    virtual std::vector<std::string> KeptCookies() = 0;
};

// The keep lists in the program folder ("keepurl.dat" and "keepcook.dat"): one entry per line,
// each line read whole, in the ANSI code page. A missing file is an empty list.
class KeepListFiles : public KeepLists {
public:
    explicit KeepListFiles(std::string programFolder) : programFolder_(std::move(programFolder)) {}
    std::vector<std::string> KeptAddresses() override;
    std::vector<std::string> KeptCookies() override;

private:
    std::string programFolder_;
};

}  // namespace hm
