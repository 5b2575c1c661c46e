#include "app/notification_rules.h"

#include <algorithm>
#include <cmath>

namespace hm {
namespace {

constexpr double kTwipsPerInch = 1440.0;

int Round(double pixels) {
    return static_cast<int>(std::lround(pixels));
}

}  // namespace

std::string QueueKey(const cNotificationRequest& request, bool keepSeparate) {
    return keepSeparate ? request.Description : request.Title;
}

bool UpdatesOnScreen(const cNotificationRequest* onScreen, const cNotificationRequest& incoming,
                     bool keepSeparate) {
    return onScreen != nullptr && !keepSeparate && onScreen->Title == incoming.Title;
}

std::string ClickedMessageText(const std::string& key, const std::string& applicationTitle) {
    const std::string thanks = "Tnank you for using our product";
    if (key == "ALERT" || key == "MESSAGE") {
        return thanks;
    }
    return thanks + " " + applicationTitle;
}

void NotificationQueue::Add(const std::string& queueKey, cNotificationRequest request) {
    Remove(queueKey);
    entries_.emplace_back(queueKey, std::move(request));
}

void NotificationQueue::Remove(const std::string& queueKey) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&](const auto& entry) { return entry.first == queueKey; }),
                   entries_.end());
}

std::optional<cNotificationRequest> NotificationQueue::TakeFirst() {
    if (entries_.empty()) {
        return std::nullopt;
    }
    cNotificationRequest first = std::move(entries_.front().second);
    entries_.erase(entries_.begin());
    return first;
}

double TwipsToPixels(double twips, int dpi) {
    return twips * dpi / kTwipsPerInch;
}

double PixelsToTwips(double pixels, int dpi) {
    return pixels * kTwipsPerInch / dpi;
}

PopupMotion::PopupMotion(int dpi, const PopupRect& workArea, int fullHeight)
    : dpi_(dpi > 0 ? dpi : 96),
      workArea_(workArea),
      fullHeightPx_(std::max(fullHeight, 1)),
      workBottom_(PixelsToTwips(workArea.bottom(), dpi_)),
      workRight_(PixelsToTwips(workArea.right(), dpi_)),
      fullHeight_(PixelsToTwips(fullHeightPx_, dpi_)) {}

int PopupMotion::FitWidth(int wantedWidth) const {
    const int inset = Round(TwipsToPixels(kRightInsetTwips, dpi_));
    const int widest = std::max(workArea_.width - 2 * inset, 1);
    return std::clamp(wantedWidth, 1, widest);
}

void PopupMotion::SetWidth(int width) {
    widthPx_ = FitWidth(width);
    left_ = workRight_ - (PixelsToTwips(widthPx_, dpi_) + kRightInsetTwips);
}

void PopupMotion::Start() {
    top_ = workBottom_ - kStartHeightTwips;
    height_ = kStartHeightTwips;
    phase_ = Phase::Growing;
    intervalMs_ = kStepMs;
}

bool PopupMotion::Tick() {
    if (phase_ == Phase::Growing) {
        top_ = workBottom_ - height_;
        height_ += kStepTwips;
        if (height_ >= fullHeight_) {
            height_ = fullHeight_;
            phase_ = Phase::Shrinking;
            intervalMs_ = kDisplayMs;
        }
        return true;
    }
    intervalMs_ = kStepMs;
    top_ = workBottom_ - height_;
    height_ -= kStepTwips;
    return height_ >= kStepTwips;
}

PopupRect PopupMotion::Bounds() const {
    const int left = Round(TwipsToPixels(left_, dpi_));
    const int top = Round(TwipsToPixels(top_, dpi_));
    const int bottom = Round(TwipsToPixels(top_ + height_, dpi_));
    return {left, top, widthPx_, std::max(bottom - top, 0)};
}

}  // namespace hm
