#include "app/cli_search.h"

#include "app/cli_output.h"
#include "platform/files.h"
#include "search/extention_handller.h"
#include "search/find_files.h"

namespace hm {
namespace {

constexpr int kExitDone = 0;
constexpr int kExitUsage = 2;

// Many thousand entries written one call each would make the printing cost more than the search.
constexpr std::size_t kFlushBytes = 64 * 1024;

class PrintingSink : public search::SearchSink {
public:
    explicit PrintingSink(bool subFolders) : subFolders_(subFolders) {}
    ~PrintingSink() override { Flush(); }
    PrintingSink(const PrintingSink&) = delete;
    PrintingSink& operator=(const PrintingSink&) = delete;

    bool IncludeSubFolders() override { return subFolders_; }
    void EntryFound(const search::FoundEntry& entry) override {
        pending_ += entry.text + "\n";
        if (pending_.size() >= kFlushBytes) {
            Flush();
        }
    }
    void SearchFinished(const std::string& summary) override {
        // The window's status shows two lines; printing adds the line ends itself.
        std::string text = summary;
        for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n")) {
            text.erase(at, 1);
        }
        pending_ += text + "\n";
        Flush();
    }

private:
    void Flush() {
        PrintOut(pending_);
        pending_.clear();
    }
    bool subFolders_;
    std::string pending_;
};

}  // namespace

int SearchVerb(const std::vector<std::string>& args, const std::string& programFolder) {
    std::vector<std::string> words;
    bool subFolders = true;
    for (const std::string& arg : args) {
        if (arg == "--no-subfolders") {
            subFolders = false;
        } else {
            words.push_back(arg);
        }
    }
    if (words.empty() || words.size() > 2) {
        return -1;
    }
    const std::string& folder = words[0];
    if (!IsFolder(folder)) {
        PrintErr("hushmark-cli: not a folder: " + folder + "\n");
        return kExitUsage;
    }
    const std::string patternText =
        words.size() == 2 ? words[1] : ExtentionHandller::ReadExtensionPatterns(programFolder);
    PrintingSink sink(subFolders);
    if (search::FindFiles(folder, patternText, sink) == search::SearchEnd::NoPatterns) {
        PrintErr(
            "hushmark-cli: no pattern to search for (Ext.txt beside the program holds none)\n");
        return kExitUsage;
    }
    return kExitDone;
}

}  // namespace hm
