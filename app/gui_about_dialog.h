// The About box frmabout: the product and version, "View License Agreement" and "Exit".
#pragma once

#include <functional>
#include <string>

#include "app/gui_dialog.h"

namespace hm {

class AboutDialog : public Dialog {
public:
    // viewLicense runs the license viewer; onExit runs when the box closes with "Exit".
    AboutDialog(std::function<void()> viewLicense, std::function<void()> onExit);

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code) override;

private:
    std::function<void()> viewLicense_;
    std::function<void()> onExit_;
};

}  // namespace hm
