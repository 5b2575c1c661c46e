// Resource and control ids of the options dialog Frmoption and its three tab pages, all in the
// range 2000-2999. Each page's controls share a hundred (21xx General, 22xx Schedule, 23xx
// Homepage), so the dialog finds a control's page from its id.
#pragma once

// Templates.
#define IDD_FRMOPTION 2000
#define IDD_FRMOPTION_GENERAL 2001
#define IDD_FRMOPTION_SCHEDULE 2002
#define IDD_FRMOPTION_HOMEPAGE 2003

// The dialog itself.
#define IDC_OPT_TABS 2010
#define IDC_OPT_COMMAND1 2011 /* "OK" */
#define IDC_OPT_COMMAND2 2012 /* "Cancel" */

// Tab "General".
#define IDC_OPT_CHECK2 2101 /* startup */
#define IDC_OPT_CHECK3 2102 /* autoclean */
#define IDC_OPT_CHECK4 2103 /* exit */
#define IDC_OPT_CHECK6 2104 /* securely */
#define IDC_OPT_BOSSKEYFRAME 2105
#define IDC_OPT_CHECK1 2106 /* bosskey */
#define IDC_OPT_BOSSKEYTEXT 2107
#define IDC_OPT_SECURELYNOTE 2108 /* "makes cleaning slower" */

// Tab "Schedule".
#define IDC_OPT_RUNATFRAME 2201
#define IDC_OPT_RUNATLABEL 2202
#define IDC_OPT_CHECK7 2203 /* WindowsStartup */
#define IDC_OPT_CHECK8 2204 /* WindowsShutdown */
#define IDC_OPT_STARTATFRAME 2205
#define IDC_OPT_STARTATLABEL 2206
#define IDC_OPT_CMBSTARTTIME 2207
#define IDC_OPT_CHKSUNDAY 2208
#define IDC_OPT_CHKMONDAY 2209
#define IDC_OPT_CHKTUESDAY 2210
#define IDC_OPT_CHKWEDNESDAY 2211
#define IDC_OPT_CHKTHURSDAY 2212
#define IDC_OPT_CHKFRIDAY 2213
#define IDC_OPT_CHKSATURDAY 2214
#define IDC_OPT_CHKDAILY 2215

// Tab "Homepage".
#define IDC_OPT_PROTECTFRAME 2301
#define IDC_OPT_PROTECTHEADING 2302
#define IDC_OPT_PROTECTTEXT 2303
#define IDC_OPT_HOMEPAGEFRAME 2304
#define IDC_OPT_TEXT1LABEL 2305
#define IDC_OPT_TEXT1 2306 /* "Start Page" */
#define IDC_OPT_TEXT2LABEL 2307
#define IDC_OPT_TEXT2 2308 /* "Window Title" */
