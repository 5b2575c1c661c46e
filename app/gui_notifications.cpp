#include "app/gui_notifications.h"

#include <algorithm>
#include <utility>

#include "engine/shared_values.h"

namespace hm {

NotificationSystem::NotificationSystem(std::function<void(const std::string&)> showMessage,
                                       HINSTANCE instance, SoundPlayer playSound)
    : showMessage_(std::move(showMessage)), instance_(instance), playSound_(std::move(playSound)) {}

NotificationSystem::~NotificationSystem() {
    // The pop-up's own destructor stops its events before the window goes.
    m_NotificationWindow.reset();
    finished_.clear();
}

void NotificationSystem::Queue(const std::string& key, const std::string& title,
                               const std::string& description, bool keepSeparate, bool clickEnabled,
                               HICON icon, const std::string& soundFile) {
    DeleteFinished();
    cNotificationRequest request;
    request.Key = key;
    request.Title = title;
    request.Description = description;
    request.Icon = icon;
    request.EnableClickEvent = clickEnabled;
    request.SoundFileLocation = soundFile;

    const cNotificationRequest* onScreen =
        m_NotificationWindow ? &m_NotificationWindow->NotificationRequest() : nullptr;
    if (UpdatesOnScreen(onScreen, request, keepSeparate)) {
        m_NotificationWindow->UpdateNotification(request);
        return;
    }
    const std::string queueKey = QueueKey(request, keepSeparate);
    queue_.Add(queueKey, std::move(request));
}

void NotificationSystem::Pump() {
    DeleteFinished();
    if (m_NotificationWindow || queue_.empty()) {
        return;
    }
    // Taken out before it shows: showing lets pending messages run, and a request queued
    // meanwhile under the same key must not be the one that goes.
    std::optional<cNotificationRequest> request = queue_.TakeFirst();
    m_NotificationWindow = std::make_unique<frmNotification>(instance_, playSound_);
    frmNotification* window = m_NotificationWindow.get();
    window->SetClickedHandler([this](const std::string& key) { OnClicked(key); });
    window->SetFinishedHandler([this, window] { OnFinished(window); });
    if (!window->ShowNotification(*request)) {
        // No window, so no Finished would ever come: the queue must not wait for it.
        OnFinished(window);
    }
}

void NotificationSystem::OnClicked(const std::string& key) {
    if (showMessage_) {
        showMessage_(ClickedMessageText(key, kAppTitle));
    }
}

void NotificationSystem::OnFinished(const frmNotification* window) {
    // Called from inside the window's own message handling: the object is kept until that ends.
    if (m_NotificationWindow.get() == window) {
        finished_.push_back(std::move(m_NotificationWindow));
    }
}

void NotificationSystem::DeleteFinished() {
    finished_.erase(std::remove_if(finished_.begin(), finished_.end(),
                                   [](const auto& window) { return !window->InUse(); }),
                    finished_.end());
}

}  // namespace hm
