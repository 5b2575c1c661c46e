// The special steps: actions that need code of their own rather than one erase operation. Each
// is named here once; its handler is the function of the same name in engine/steps/, in a file
// of its own, taking (const act::Step&, PassContext&) and returning what it adds to the pass
// counters.
#pragma once

#define HM_SPECIAL_STEPS(STEP) \
    STEP(EmptyClipboard)       \
    STEP(EmptyRecycleBin)      \
    STEP(ClearDocumentsMenu)   \
    STEP(TempFolders)          \
    STEP(RunAndWait)           \
    STEP(TypedUrls)            \
    STEP(IeHistory)            \
    STEP(CookieSweep)          \
    STEP(IeCache)              \
    STEP(IeAutocomplete)       \
    STEP(IeDownloaded)         \
    STEP(IeDownloadedHistory)  \
    STEP(IeIndex)              \
    STEP(IeInprivate)          \
    STEP(IeAddons)             \
    STEP(OfficeTree)           \
    STEP(OfficeValue)          \
    STEP(CustomItems)          \
    STEP(FirefoxRow)           \
    STEP(ChromiumRow)

namespace hm {

enum class StepId {
#define HM_STEP_ENUM(name) name,
    HM_SPECIAL_STEPS(HM_STEP_ENUM)
#undef HM_STEP_ENUM
};

#define HM_STEP_COUNT(name) +1
inline constexpr int kStepCount = 0 HM_SPECIAL_STEPS(HM_STEP_COUNT);
#undef HM_STEP_COUNT

}  // namespace hm
