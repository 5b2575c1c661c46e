// Resource and control ids of the main window, its menus, the splash and the About box. Other
// dialogs keep their ids in their own headers, in ranges of their own.
#pragma once

// Resources.
#define IDR_MAINMENU 100
#define IDR_TRAYMENU 101
#define IDD_FRMSPLASH 110
#define IDD_FRMABOUT 120

// Main window controls.
#define IDC_COMMAND1 201          /* "Start Cleaning >>" */
#define IDC_COMMAND2 202          /* "Cancel" */
#define IDC_LISTVIEW1 203
#define IDC_PROGRESS 204          /* coolprogressbar1 */
#define IDC_SKINLABEL5 205        /* status caption */
#define IDC_LABEL12 206           /* last-clean text */
#define IDC_LABEL14 207           /* totals line */
#define IDC_STATUSFRAME 208
#define IDC_WARNING 209
#define IDC_PRODUCTNAME 210
#define IDC_TAGLINE 211
#define IDC_LASTCLEANCAPTION 212
#define IDC_LABEL51 213           /* "Visit us at: ..." */
#define IDC_CLEANS1 214           /* what can be cleaned, first column */
#define IDC_CLEANS2 215           /* what can be cleaned, second column */
#define IDC_PICTURE2 216          /* the help picture on the home panel */
#define IDC_PICTURE1 217          /* the image-button bar's background */
#define IDC_ANALYZE 218           /* "Analyze": the pass as a preview */
#define IDC_DETAILS 219           /* "Details...": what an analyzed row would remove */
#define IDC_IMAGE1 221            /* "Main" */
#define IDC_IMAGE2 222            /* "Clearner Settings" */
#define IDC_IMAGE3 223            /* "CLEAN NOW" */
#define IDC_IMAGE4 224            /* "Search and  Erase" */
#define IDC_IMAGE5 225            /* "Clean Options" */
#define IDC_IMAGE6 226            /* "File Shredder" */
#define IDC_IMAGE9 229            /* "Clean Registry" */
#define IDC_IMAGE10 230           /* "EXIT" */

// Menu bar.
#define IDM_CLEANNOW1 301
#define IDM_CLEANSETTINGS 302
#define IDM_CLEANOPTIONS 303
#define IDM_EXIT 304
#define IDM_CLEANREGISTRY 311
#define IDM_SEARCHANDERASE 312
#define IDM_TESSARO 313
#define IDM_HELP1 321
#define IDM_OURWEBSITE 322
#define IDM_FRIEND 323
#define IDM_AFFILIATE 324
#define IDM_ABOUT 325

// Tray menu mPopupSys.
#define IDM_WEB 401
#define IDM_HELP2 402
#define IDM_OPTIONS1 403
#define IDM_SETTINGS1 404
#define IDM_RESTORE1 405
#define IDM_CLEANNOW2 406
#define IDM_EXIT1 407
#define IDM_ANALYZE2 408

// Splash.
#define IDC_SPLASHTITLE 501
#define IDC_SPLASHTEXT 502
#define IDC_SPLASHICON 503
#define IDC_SPLASHLOADING 504

// About box.
#define IDC_ABOUTTITLE 601
#define IDC_ABOUTTEXT 602
#define IDC_ABOUTICON 603
#define IDC_COMMAND3 604          /* "Exit" */
#define IDC_COMMAND4 605          /* "View License Agreement" */
