#include "keeplists/keep_lists.h"

#include "keeplists/keep_list_file.h"

namespace hm {

std::vector<std::string> KeepListFiles::KeptAddresses() {
    return ReadKeepListEntries(UrlKeepListPath(programFolder_));
}

std::vector<std::string> KeepListFiles::KeptCookies() {
    return ReadKeepListLines(CookieKeepListPath(programFolder_));
}

}  // namespace hm
