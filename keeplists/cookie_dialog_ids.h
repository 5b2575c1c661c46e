// Resource and control ids of the cookie keep-list dialog frmcookie, in the range 3500-3999.
#pragma once

#define IDD_FRMCOOKIE 3500

#define IDC_COOKIE_FRAME 3510         /* "Cookies" */
#define IDC_COOKIE_CURRENTFRAME 3511  /* "Current Cookies List" */
#define IDC_COOKIE_LSTCOOKIELIST 3512 /* the cookie files found now */
#define IDC_COOKIE_CMDADD 3513        /* "Add >" */
#define IDC_COOKIE_CMDREMOVE 3514     /* "< Remove" */
#define IDC_COOKIE_KEEPFRAME 3515     /* "Cookies Keep List" */
#define IDC_COOKIE_LIST1 3516         /* the keep list */
#define IDC_COOKIE_PREVIEWFRAME 3517
#define IDC_COOKIE_TEXT1 3518 /* the preview of the cookie last clicked */
