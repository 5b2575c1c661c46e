// The pop-up notifications' rules, free of any window: the request record, the queue of pending
// requests, the text a click answers with, and the slide-in and slide-out motion.
//
// The motion was designed in twips (1440 to the inch, so 15 to a pixel at 96 DPI). It is kept in
// twips here, where every step is a whole number and the arithmetic stays exact, and turned into
// pixels for the window's DPI only when a rectangle is asked for; each edge is rounded on its own,
// so the fixed edge never jitters while the other one moves by 1.33 pixels a tick.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace hm {

// One request. Icon is the caller's picture handle (an HICON on Windows), not owned: the caller
// keeps it alive while the request waits; null leaves the picture the window shows.
struct cNotificationRequest {
    std::string Key;
    void* Icon = nullptr;
    std::string Title;
    std::string Description;
    bool EnableClickEvent = false;
    std::string SoundFileLocation;
};

// The key a request waits under: the title when requests may replace each other, else the
// description, so that only identical descriptions replace each other.
std::string QueueKey(const cNotificationRequest& request, bool keepSeparate);

// Whether a new request goes into the pop-up on screen (null when none is) instead of the queue:
// only when it may replace others and its title matches exactly.
bool UpdatesOnScreen(const cNotificationRequest* onScreen, const cNotificationRequest& incoming,
                     bool keepSeparate);

// The answer to a click on a pop-up's description.
std::string ClickedMessageText(const std::string& key, const std::string& applicationTitle);

// Pending requests in order, each under its queue key; keys are unique.
class NotificationQueue {
public:
    // Drops any request waiting under the same key, then appends this one at the end.
    void Add(const std::string& queueKey, cNotificationRequest request);
    // A key that is not there is ignored.
    void Remove(const std::string& queueKey);
    // Takes the first request out; none when the queue is empty.
    std::optional<cNotificationRequest> TakeFirst();

    bool empty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }
    const std::string& KeyAt(std::size_t index) const { return entries_.at(index).first; }
    const cNotificationRequest& At(std::size_t index) const { return entries_.at(index).second; }

private:
    std::vector<std::pair<std::string, cNotificationRequest>> entries_;
};

// A pixel rectangle on the screen.
struct PopupRect {
    int left;
    int top;
    int width;
    int height;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const PopupRect&) const = default;
};

double TwipsToPixels(double twips, int dpi);
double PixelsToTwips(double pixels, int dpi);

// Where the pop-up stands and how it moves. Growing: each tick raises the top edge to the work
// area's bottom less the height and adds a step, so the bottom edge sits one step below the work
// area; at the full height it waits the display time. Shrinking: each tick lowers the top edge
// and takes a step off until less than a step is left, then the window closes.
class PopupMotion {
public:
    static constexpr double kStepTwips = 20;
    static constexpr double kStartHeightTwips = 10;
    static constexpr double kRightInsetTwips = 100;
    static constexpr unsigned kStepMs = 15;
    static constexpr unsigned kDisplayMs = 5000;
    enum class Phase { Growing = 0, Shrinking = 1 };

    // The work area in pixels and the window's full (design) height in pixels, at this DPI.
    PopupMotion(int dpi, const PopupRect& workArea, int fullHeight);

    // The width a window needs is capped so that it stays inside the work area with the same
    // inset on both sides (a longer description is cut short rather than pushed off the screen).
    int FitWidth(int wantedWidth) const;
    // Sets the width (fitted) and the left edge that follows from it.
    void SetWidth(int width);
    // The start: the height of the start step, its bottom edge on the work area's bottom, growing.
    void Start();
    // Back to growing from where the window stands; the interval stays as it was.
    void Regrow() { phase_ = Phase::Growing; }
    // One timer tick. False when the window is to close.
    bool Tick();

    PopupRect Bounds() const;
    Phase phase() const { return phase_; }
    unsigned intervalMs() const { return intervalMs_; }
    int dpi() const { return dpi_; }
    int fullHeight() const { return fullHeightPx_; }
    int width() const { return widthPx_; }

private:
    int dpi_;
    PopupRect workArea_;
    int fullHeightPx_;
    double workBottom_;  // twips, as all the doubles below
    double workRight_;
    double fullHeight_;
    int widthPx_ = 0;
    double left_ = 0;
    double top_ = 0;
    double height_ = 0;
    Phase phase_ = Phase::Growing;
    unsigned intervalMs_ = kStepMs;
};

}  // namespace hm
