// The cookie keep-list dialog frmcookie ("Cookies Options"): the cookie files of the current
// user, then the sites today's browsers hold cookies for, beside the cookie keep list
// ("keepcook.dat"), with "Add >" and "< Remove" between them and a preview of the cookie last
// clicked in either list (for a site, the browsers holding its cookies). Every change is written
// to the file at once; there is nothing to save or cancel.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "app/gui_dialog.h"
#include "keeplists/browser_cookie_sites.h"
#include "keeplists/cookie_dialog_ids.h"
#include "platform/regfun.h"

namespace hm {

class frmcookie : public Dialog {
public:
    enum : int {
        lstCookieList = IDC_COOKIE_LSTCOOKIELIST,  // the cookie files, then the sites, found now
        List1 = IDC_COOKIE_LIST1,                  // the keep list, several entries selectable
        Text1 = IDC_COOKIE_TEXT1,                  // the preview
        cmdAdd = IDC_COOKIE_CMDADD,
        cmdRemove = IDC_COOKIE_CMDREMOVE,
    };
    // The preview shows at most this much of a file, so a huge one cannot stall the window.
    static constexpr std::size_t kPreviewLimit = 64 * 1024;

    // The keep list lives in programFolder & "\keepcook.dat"; the cookie folder is the user shell
    // folder "Cookies", and the browsers' profiles are below the user shell folders "AppData" and
    // "Local AppData", all read through the registry routines when the dialog loads.
    frmcookie(std::string programFolder, Regfun& registry);

    // The cookie folder found by the last load ("Error" when the registry has none).
    const std::string& CookieFolder() const { return cookieFolder_; }
    // The full paths of the cookie files found by the last load.
    const std::vector<std::string>& Cookies() const { return cookies_; }
    // The sites today's browsers held cookies for at the last load, listed after the files.
    const std::vector<BrowserCookieSite>& BrowserSites() const { return sites_; }

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code) override;
    void OnDestroyed() override;

private:
    void AddClicked();
    void RemoveClicked();
    void ShowPreview(int listId);
    void ShowSitePreview(const std::string& entry);
    std::string KeepListFile() const;

    std::string programFolder_;
    Regfun& registry_;
    std::string cookieFolder_;
    std::vector<std::string> cookies_;
    std::vector<BrowserCookieSite> sites_;
};

}  // namespace hm
