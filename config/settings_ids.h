// Resource and control ids of the clean-items dialog frmsettings, all in the range 6000-6999.
// Frames and item boxes are made at run time from the catalogue: a box named "CheckNN" has the
// id IDC_SET_CHECK_BASE + NN, so code and tests find Check5 without a table.
#pragma once

// Templates: the dialog, and the pages that its two tab controls show.
#define IDD_FRMSETTINGS 6000
#define IDD_SETTINGS_BOXPAGE 6001  /* frames of boxes, filled at run time */
#define IDD_SETTINGS_TABPAGE 6002  /* a tab holding SSTab2 and its pages */
#define IDD_SETTINGS_PLUGINS 6003  /* "Applications" */
#define IDD_SETTINGS_CUSTOM 6004   /* "Custom Item" */
#define IDM_SETTINGS_OPTIONS 6005  /* the pop-up menu of "Add" */
#define IDD_SETTINGS_WINAPP2 6006  /* "Community Rules": the rules of winapp2.ini */

// The dialog itself.
#define IDC_SET_SSTAB1 6010
#define IDC_SET_COMMAND1 6011 /* "OK" */
#define IDC_SET_COMMAND3 6012 /* "Cancel" */

// Pages.
#define IDC_SET_SSTAB2 6020
#define IDC_SET_LISTVIEW1 6030  /* the plug-in list */
#define IDC_SET_LISTVIEW2 6040  /* the custom items list */
#define IDC_SET_COMMAND101 6041 /* "Add" */
#define IDC_SET_COMMAND102 6042 /* "Remove" */
#define IDC_SET_COMMAND2 6043   /* "Clear" */
#define IDC_SET_COMMAND7 6050   /* "Options" beside "IE Address Bar History" */
#define IDC_SET_COMMAND8 6051   /* "Options" beside "IE Cookies" */

// "Community Rules".
#define IDC_SET_WINAPP2_NOTE 6070   /* what the rule file gave, or that there is none */
#define IDC_SET_WINAPP2_LIST 6071   /* the rules that apply here, by group */
#define IDC_SET_WINAPP2_IMPORT 6072 /* "Import rules..." */

// Items of the menu "options".
#define IDM_SET_ADDFILES 6061
#define IDM_SET_ADDFOLDERS 6062

// Frames made at run time: the three the dialog names, then the rest in the order they are made.
#define IDC_SET_FRAME5 6100 /* "Windows" */
#define IDC_SET_FRAME6 6101 /* the Microsoft Office frame */
#define IDC_SET_FRAME7 6102 /* the custom items frame */
#define IDC_SET_FRAME_FIRST 6110
#define IDC_SET_FRAME_LAST 6199

// Item and select-all boxes: IDC_SET_CHECK_BASE + the number in the box's name.
#define IDC_SET_CHECK_BASE 6200
#define IDC_SET_CHECK_LAST 6999
