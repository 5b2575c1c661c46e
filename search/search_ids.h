// Resource and control ids of the search window frmLocate (7000-7499) and of the extension
// dialog frmExtentions (7500-7999).
#pragma once

#define IDD_FRMLOCATE 7000
#define IDR_FRMLOCATE_MENU 7001

#define IDC_LOC_DRIVE1 7010
#define IDC_LOC_DIR1 7011
#define IDC_LOC_LABEL1 7012
#define IDC_LOC_TEXT1 7013
#define IDC_LOC_CHECK1 7014  /* "Include Sub Directories" */
#define IDC_LOC_OPTIONS 7015 /* frame "Search and clean options" */
#define IDC_LOC_CHKDELTYPE 7016
#define IDC_LOC_LIST1 7017
#define IDC_LOC_STATUS 7018
#define IDC_LOC_CMDACTION0 7019 /* "&Find Files" */
#define IDC_LOC_CMDACTION1 7020 /* "E&xit" / "&Stop" */
#define IDC_LOC_CMDSELECTALL 7021
#define IDC_LOC_CMDUNSELECTALL 7022
#define IDC_LOC_CMDOPTION 7023
#define IDC_LOC_CMDDELETE 7024

#define IDM_LOC_MNUFILESUB 7030   /* File > "E&xit" */
#define IDM_LOC_MNUOPTIONS 7031   /* Options > "Op&tions" */
#define IDM_LOC_MENURESETALL 7032 /* Options > "&Reset All" */
#define IDM_LOC_MNUABOUT 7033     /* Help > "Abou&t" */

#define IDD_FRMEXTENTIONS 7500
#define IDC_EXT_FRAME1 7510
#define IDC_EXT_LSTFILETYPES 7511
#define IDC_EXT_FRAME2 7512
#define IDC_EXT_LABEL2 7513
#define IDC_EXT_TXTADD 7514
#define IDC_EXT_CMDREMOVE 7515
#define IDC_EXT_CMDDEFAULT 7516
#define IDC_EXT_CMDDONE 7517
#define IDC_EXT_CMDADD 7518
