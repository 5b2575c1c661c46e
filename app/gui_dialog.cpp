#include "app/gui_dialog.h"

#include "app/gui_controls.h"
#include "app/gui_message_loop.h"

namespace hm {

Dialog::~Dialog() {
    if (hwnd_ != nullptr && !modal_) {
        DestroyWindow(hwnd_);
    }
}

HINSTANCE Dialog::Module() {
    return GetModuleHandleW(nullptr);
}

INT_PTR Dialog::ShowModal(HWND owner) {
    modal_ = true;
    return DialogBoxParamW(Module(), MAKEINTRESOURCEW(templateId_), owner, &Dialog::Procedure,
                           reinterpret_cast<LPARAM>(this));
}

bool Dialog::ShowModeless(HWND owner) {
    if (hwnd_ != nullptr) {
        ShowWindow(hwnd_, SW_SHOW);
        return true;
    }
    modal_ = false;
    if (CreateDialogParamW(Module(), MAKEINTRESOURCEW(templateId_), owner, &Dialog::Procedure,
                           reinterpret_cast<LPARAM>(this)) == nullptr) {
        return false;
    }
    message_loop::AddDialogWindow(hwnd_);
    ShowWindow(hwnd_, SW_SHOW);
    return true;
}

void Dialog::Close(INT_PTR code) {
    if (hwnd_ == nullptr) {
        return;
    }
    if (modal_) {
        EndDialog(hwnd_, code);
    } else {
        DestroyWindow(hwnd_);
    }
}

std::string Dialog::ItemText(int id) const {
    return GetText(Item(id));
}

void Dialog::SetItemText(int id, const std::string& text) {
    SetText(Item(id), text);
}

bool Dialog::IsChecked(int id) const {
    return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED;
}

void Dialog::SetChecked(int id, bool checked) {
    CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Dialog::OnCommand(int id, int) {
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

LRESULT Dialog::OnNotify(const NMHDR&) {
    return 0;
}

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = window;
        SetWindowLongPtrW(window, DWLP_USER, lParam);
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    INT_PTR handled = FALSE;
    try {
        handled = self->Handle(message, wParam, lParam);
    } catch (...) {
        handled = FALSE;
    }
    if (message == WM_NCDESTROY) {
        if (!self->modal_) {
            message_loop::RemoveDialogWindow(window);
        }
        self->hwnd_ = nullptr;
        SetWindowLongPtrW(window, DWLP_USER, 0);
        try {
            self->OnDestroyed();
        } catch (...) {
        }
    }
    return handled;
}

INT_PTR Dialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInit() ? TRUE : FALSE;
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
        case WM_NOTIFY: {
            const LRESULT result = OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
            SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
            return TRUE;
        }
        default: {
            LRESULT result = 0;
            if (OnMessage(message, wParam, lParam, result)) {
                SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
                return TRUE;
            }
            return FALSE;
        }
    }
}

}  // namespace hm
