// Icon resources of hushmark.exe (app/images.rc); the icon files are generated at build time
// by assets/generate.py into the build folder's assets/.
#ifndef HM_APP_IMAGE_IDS_H
#define HM_APP_IMAGE_IDS_H

// The program icon. It has the lowest id of all icon groups, so it is the one Explorer shows.
#define IDI_HUSHMARK 1

// The image buttons of the main window, in the order of the bar.
#define IDI_BTN_MAIN 5000     /* "Main" */
#define IDI_BTN_SETTINGS 5001 /* "Clearner Settings" */
#define IDI_BTN_CLEAN 5002    /* "CLEAN NOW" */
#define IDI_BTN_SEARCH 5003   /* "Search and  Erase" */
#define IDI_BTN_OPTIONS 5004  /* "Clean Options" */
#define IDI_BTN_SHREDDER 5005 /* "File Shredder" */
#define IDI_BTN_REGISTRY 5006 /* "Clean Registry" */
#define IDI_BTN_EXIT 5007     /* "EXIT" */

#endif  // HM_APP_IMAGE_IDS_H
