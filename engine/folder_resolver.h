// The base folders the catalogue's paths start from, answered once per pass (or once per item,
// where the item must look anew) and kept.
#pragma once

#include <map>
#include <string>

#include "engine/catalogue.h"
#include "engine/shared_values.h"
#include "platform/regfun.h"

namespace hm {

class FolderResolver {
public:
    FolderResolver(const SharedValues& values, Regfun& registry, std::string programFolder)
        : values_(values), registry_(registry), programFolder_(std::move(programFolder)) {}

    // Forgets what each item must look up anew.
    void BeginItem() { itemCache_.clear(); }

    // The Office version number the pass probed ("12.0"; empty when there is no Office or one the
    // pass does not know), which names the Office keys from then on.
    void SetOfficeVersion(std::string number);
    const std::string& OfficeVersion() const { return officeVersion_; }

    std::string Base(BaseFolder base);
    std::string Resolve(const FolderRef& folder) { return Base(folder.base) + std::string(folder.suffix); }

private:
    std::string Compute(BaseFolder base);

    const SharedValues& values_;
    Regfun& registry_;
    std::string programFolder_;
    std::map<BaseFolder, std::string> passCache_;
    std::map<BaseFolder, std::string> itemCache_;
    std::string officeVersion_;
};

}  // namespace hm
