// The report at the end of a shredding run: what was shredded and what stays, with the reason.
#pragma once

#include <string>
#include <vector>

#include "app/gui_dialog.h"
#include "platform/shred_job.h"

namespace hm {

struct ShredReport {
    std::string summary;
    std::vector<shred::Refusal> refused;
    std::vector<shred::ItemResult> results;
};

class ShredReportDialog : public Dialog {
public:
    explicit ShredReportDialog(ShredReport report);

protected:
    bool OnInit() override;

private:
    ShredReport report_;
};

}  // namespace hm
