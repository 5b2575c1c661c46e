#include "app/gui_about_dialog.h"

#include <utility>

#include "app/main_ids.h"

#include "app/image_ids.h"

namespace hm {

AboutDialog::AboutDialog(std::function<void()> viewLicense, std::function<void()> onExit)
    : Dialog(IDD_FRMABOUT), viewLicense_(std::move(viewLicense)), onExit_(std::move(onExit)) {}

bool AboutDialog::OnInit() {
    HICON icon = nullptr;
    icon = LoadIconW(Module(), MAKEINTRESOURCEW(IDI_HUSHMARK));
    if (icon == nullptr) {
        icon = LoadIconW(nullptr, IDI_APPLICATION);
    }
    SendMessageW(Item(IDC_ABOUTICON), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    return true;
}

bool AboutDialog::OnCommand(int id, int code) {
    if (id == IDC_COMMAND4) {
        if (viewLicense_) {
            viewLicense_();
        }
        return true;
    }
    if (id == IDC_COMMAND3 || id == IDCANCEL) {
        Close(IDOK);
        if (onExit_) {
            onExit_();
        }
        return true;
    }
    return Dialog::OnCommand(id, code);
}

}  // namespace hm
