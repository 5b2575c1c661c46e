// The one base class of the program's dialogs. Each dialog is a DIALOGEX template in an .rc file;
// the static dialog procedure forwards to the virtual handlers below and stops every exception
// at the boundary, so none crosses into the system's message dispatch.
#pragma once

#include <windows.h>

#include <string>

namespace hm {

class Dialog {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Shows the dialog modally and returns the code it ended with (IDOK, IDCANCEL, ...), or -1
    // when it could not be made.
    INT_PTR ShowModal(HWND owner);
    // Makes the dialog modeless; it registers with the message loop so that keyboard navigation
    // works. False when it could not be made.
    bool ShowModeless(HWND owner);

    HWND hwnd() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

    // Ends a modal dialog with the code, or destroys a modeless one.
    void Close(INT_PTR code);

    // UTF-8 helpers for the dialog's items.
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text);
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked);

protected:
    // Called once the controls exist; return false to leave the focus where the system put it.
    virtual bool OnInit() { return true; }
    // A command from a control or menu; return true when handled. The default ends the dialog on
    // IDOK and IDCANCEL through OnOK and OnCancel.
    virtual bool OnCommand(int id, int code);
    virtual void OnOK() { Close(IDOK); }
    virtual void OnCancel() { Close(IDCANCEL); }
    // WM_NOTIFY; the result is stored as the dialog's message result.
    virtual LRESULT OnNotify(const NMHDR& header);
    // Any other message; return true when handled (result goes into the message result).
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The dialog window is gone.
    virtual void OnDestroyed() {}

    // The module holding the templates: this executable.
    static HINSTANCE Module();

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
};

}  // namespace hm
