// The user's keep lists, as the cleaning pass reads them: typed addresses to write back after the
// typed-address list is erased, and cookie files to spare.
#pragma once

#include <string>
#include <utility>
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

// The keep lists in the program folder ("keepurl.dat" and "keepcook.dat"), read at each call. A
// missing file is an empty list. The addresses are the URL keep-list window's entries
// (right-trimmed lines); the cookie paths are the lines as stored, because the sweep spares only
// a file whose path equals a line exactly (IsKeptCookie).
class KeepListFiles : public KeepLists {
public:
    explicit KeepListFiles(std::string programFolder) : programFolder_(std::move(programFolder)) {}
    std::vector<std::string> KeptAddresses() override;
    std::vector<std::string> KeptCookies() override;

private:
    std::string programFolder_;
};

}  // namespace hm
