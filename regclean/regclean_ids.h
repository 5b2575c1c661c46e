// Resource and control ids of the registry cleaner's window, in the range 7400-7499.
#pragma once

#define IDD_REGCLEAN 7400
#define IDI_MOBRIN 7401

#define IDC_RC_SCOPE 7410   /* which hives are checked, and why */
#define IDC_RC_LIST 7411    /* the findings, with tick boxes */
#define IDC_RC_STATUS 7412  /* what the last action did */
#define IDC_RC_SCAN 7413    /* "Scan" */
#define IDC_RC_FIX 7414     /* "Fix selected" */
#define IDC_RC_RESTORE 7415 /* "Restore..." */
