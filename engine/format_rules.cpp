#include "engine/format_rules.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace hm {

std::string NumberText(double value) {
    if (std::isnan(value) || std::isinf(value)) {
        return value > 0 ? "Infinity" : (value < 0 ? "-Infinity" : "NaN");
    }
    if (value == 0) {
        return "0";
    }
    const double magnitude = std::fabs(value);
    char buffer[64];
    if (magnitude >= 1e15 || magnitude < 1e-15) {
        // Exponent form: mantissa without trailing zeros, "E+15" / "E-16".
        std::snprintf(buffer, sizeof buffer, "%.14E", value);
        std::string text = buffer;
        const size_t e = text.find('E');
        std::string mantissa = text.substr(0, e);
        std::string exponent = text.substr(e + 1);
        if (mantissa.find('.') != std::string::npos) {
            while (mantissa.back() == '0') {
                mantissa.pop_back();
            }
            if (mantissa.back() == '.') {
                mantissa.pop_back();
            }
        }
        const char sign = exponent[0];
        std::string digits = exponent.substr(1);
        while (digits.size() > 1 && digits[0] == '0') {
            digits.erase(0, 1);
        }
        return mantissa + "E" + sign + digits;
    }
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return buffer;
}

bool ParseNumber(std::string_view text, double& value) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) {
        ++begin;
    }
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) {
        --end;
    }
    if (begin == end) {
        return false;
    }
    const std::string trimmed(text.substr(begin, end - begin));
    // Only plain decimal forms; strtod alone would also take "inf", "nan" and hex.
    size_t i = 0;
    if (trimmed[i] == '+' || trimmed[i] == '-') {
        ++i;
    }
    bool digits = false;
    while (i < trimmed.size() && trimmed[i] >= '0' && trimmed[i] <= '9') {
        ++i;
        digits = true;
    }
    if (i < trimmed.size() && trimmed[i] == '.') {
        ++i;
        while (i < trimmed.size() && trimmed[i] >= '0' && trimmed[i] <= '9') {
            ++i;
            digits = true;
        }
    }
    if (!digits) {
        return false;
    }
    if (i < trimmed.size() && (trimmed[i] == 'e' || trimmed[i] == 'E')) {
        size_t j = i + 1;
        if (j < trimmed.size() && (trimmed[j] == '+' || trimmed[j] == '-')) {
            ++j;
        }
        const size_t firstDigit = j;
        while (j < trimmed.size() && trimmed[j] >= '0' && trimmed[j] <= '9') {
            ++j;
        }
        if (j == firstDigit) {
            return false;
        }
        i = j;
    }
    if (i != trimmed.size()) {
        return false;
    }
    // Text like "9e999" overflows; it is no number the program can count with.
    const double parsed = std::strtod(trimmed.c_str(), nullptr);
    if (!std::isfinite(parsed)) {
        return false;
    }
    value = parsed;
    return true;
}

std::string MegabyteText(double bytes) {
    const double megabytes = bytes / 1048576.0;
    // Round half away from zero at the second decimal, as a "0.00" format does.
    const double hundredths = std::round(megabytes * 100.0);
    // Room for every digit of the largest double, which a hand-edited total can reach.
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.2f", hundredths / 100.0);
    std::string text = buffer;
    if (text == "-0.00") {
        text = "0.00";
    }
    return text;
}

std::string SummaryMessageText(double registryKeys, double bytes) {
    return "Task complete Successfully! Cleaned Registry Keys: " + NumberText(registryKeys) +
           " Released HD Space:" + MegabyteText(bytes) + "MB";
}

std::string SummaryPopupText(const std::string& appTitle, double registryKeys, double bytes) {
    return appTitle + " Clean is done!" + " Cleaned Registry Keys: " + NumberText(registryKeys) +
           " Released HD Space:" + MegabyteText(bytes) + "MB";
}

std::string TotalsLineText(double registryKeys, double bytes) {
    return "  Cleaned Registry Keys: " + NumberText(registryKeys) +
           "     Released HD Space:" + MegabyteText(bytes) + "MB";
}

std::string ItemResultText(std::string_view result, int failed, int inUse) {
    if (failed <= 0 || result != "Done") {
        return std::string(result);
    }
    return "Done, " + std::to_string(failed) + (inUse == failed ? " in use" : " not removed");
}

}  // namespace hm
