// Resource and control ids of the details dialog of an analyzed row.
#pragma once

#define IDD_ANALYSIS_DETAILS 8000
#define IDC_DETAILS_SUMMARY 8001  /* the row's totals */
#define IDC_DETAILS_LIST 8002     /* kind, path, size of everything the row would remove */
