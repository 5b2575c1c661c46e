// Resource and control ids of the file shredder's window and its report, all in the range
// 7400-7499.
#pragma once

#define IDD_SHREDDER 7400
#define IDD_SHREDREPORT 7401

// The shredder's window.
#define IDC_SHR_INTRO 7410
#define IDC_SHR_LIST 7411
#define IDC_SHR_ADDFILES 7412
#define IDC_SHR_ADDFOLDER 7413
#define IDC_SHR_REMOVE 7414
#define IDC_SHR_CLEAR 7415
#define IDC_SHR_TOTAL 7416
#define IDC_SHR_METHODLABEL 7417
#define IDC_SHR_METHOD 7418
#define IDC_SHR_PROGRESS 7419
#define IDC_SHR_STATUS 7420
#define IDC_SHR_HELP 7421
#define IDC_SHR_SHRED 7422
#define IDC_SHR_STOP 7423
#define IDC_SHR_LIMITS 7424

// The report.
#define IDC_REP_SUMMARY 7450
#define IDC_REP_LIST 7451
