// The settings the search window keeps under the application name "Lintwell", and how it reads
// them back. No system calls; the registry side is lintwell_settings.h.
#pragma once

#include <string_view>

namespace hm::search {

inline constexpr std::string_view kStartUpSection = "StartUp";
inline constexpr std::string_view kGeneralSection = "General";

inline constexpr std::string_view kAppPathKey = "AppPath";
inline constexpr std::string_view kRecycleKey = "Recycele";
inline constexpr std::string_view kSubFoldersKey = "SubFolders";
inline constexpr std::string_view kLogKey = "Log";
inline constexpr std::string_view kPromptKey = "Prompt";
inline constexpr std::string_view kTipNumberKey = "TipNumber";
inline constexpr std::string_view kTipsKey = "Tips";
inline constexpr std::string_view kDeleteDirsKey = "DeleteDirs";
inline constexpr std::string_view kMaxLogSizeKey = "MaxLogSize";
inline constexpr std::string_view kUsesKey = "Uses";

inline constexpr std::string_view kDefaultDeleteDirs =
    "c:\\windows\\temp\\;C:\\WINDOWS\\Temporary Internet Files\\;";
inline constexpr std::string_view kDefaultMaxLogSize = "80";

// The delete warning shows unless the stored "Prompt" reads as false: a number equal to 0, or
// the word "False" in any case. Any other text, empty included, keeps the warning.
bool PromptReadsAsTrue(std::string_view stored);

// "&Reset All" asks first when the stored "Uses" is a number above 2, or no number at all; it
// resets without asking for 2 and below.
bool ResetAsksFirst(std::string_view stored);

}  // namespace hm::search
