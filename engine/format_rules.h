// How the pass turns its counters into the texts the user sees.
#pragma once

#include <string>
#include <string_view>

namespace hm {

// A double as plain text, the way the summary shows counts: whole numbers without decimals
// ("10300"), others with up to 15 significant digits ("0.5"), very large or small ones in
// exponent form ("1E+15").
std::string NumberText(double value);

// The value parsed as a number the way a settings value is compared with the number 1:
// blanks around it allowed, a decimal number with optional sign, fraction and exponent.
// False for empty or non-numeric text, and for text beyond the range of a double.
bool ParseNumber(std::string_view text, double& value);

// bytes / 1048576 with the pattern "0.00": always two decimals, at least one integer digit.
std::string MegabyteText(double bytes);

// "Task complete Successfully! Cleaned Registry Keys: N Released HD Space:X.XXMB"
std::string SummaryMessageText(double registryKeys, double bytes);

// title & " Clean is done!" & " Cleaned Registry Keys: " & N & " Released HD Space:" & X.XX & "MB"
std::string SummaryPopupText(const std::string& appTitle, double registryKeys, double bytes);

// "  Cleaned Registry Keys: N     Released HD Space:X.XXMB" for the home panel.
std::string TotalsLineText(double registryKeys, double bytes);

// An item's result text once its actions have run. "Done" becomes "Done, N in use" when N things
// it selected stayed because other programs held them open, and "Done, N not removed" when some
// stayed for another reason the system gave (access denied, a name it cannot use). Other result
// texts, and "Done" when nothing stayed, are returned as they are.
std::string ItemResultText(std::string_view result, int failed, int inUse);

}  // namespace hm
