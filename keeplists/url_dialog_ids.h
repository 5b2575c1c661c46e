// Resource and control ids of the URL keep-list dialog frmurl, in the range 3000-3499.
#pragma once

#define IDD_FRMURL 3000

#define IDC_URL_FRAME 3010      /* "URL Drop-List" */
#define IDC_URL_LIST2LABEL 3011 /* "Current URL List" */
#define IDC_URL_LIST2 3012      /* the typed addresses now in the drop list */
#define IDC_URL_CMDADD 3013     /* "Add >" */
#define IDC_URL_CMDREMOVE 3014  /* "< Remove" */
#define IDC_URL_LIST1LABEL 3015 /* "URL Keep List" */
#define IDC_URL_LIST1 3016      /* the keep list */
