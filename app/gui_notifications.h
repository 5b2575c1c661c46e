// The notification system: the one way to show a pop-up. Requests wait in a queue; the owner's
// 500 ms timer calls Pump, which shows them one at a time.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/gui_notification_window.h"
#include "app/notification_rules.h"

namespace hm {

class NotificationSystem {
public:
    // showMessage: receives the text that answers a click on a pop-up (the application shows it
    // in a message box). instance: where the pop-up's window class lives. playSound: the sound
    // call; empty means PlaySoundW.
    explicit NotificationSystem(std::function<void(const std::string& text)> showMessage,
                                HINSTANCE instance = GetModuleHandleW(nullptr),
                                SoundPlayer playSound = {});
    ~NotificationSystem();
    NotificationSystem(const NotificationSystem&) = delete;
    NotificationSystem& operator=(const NotificationSystem&) = delete;

    // The queueing routine. keepSeparate false: a request with the same title replaces the one
    // on screen or waiting. keepSeparate true: only one with the same description replaces a
    // waiting one. icon may be null; it is not owned and must live until the pop-up takes it
    // (the pop-up shows a copy).
    void Queue(const std::string& key, const std::string& title, const std::string& description,
               bool keepSeparate, bool clickEnabled, HICON icon, const std::string& soundFile);

    // The tick of the owner's tmrShowPopup: shows the first waiting request when no pop-up is
    // on screen.
    void Pump();

    // Removes a waiting request by its queue key; a missing key is ignored.
    void Remove(const std::string& queueKey) { queue_.Remove(queueKey); }

    bool PopupShown() const { return m_NotificationWindow != nullptr; }
    // The pop-up on screen, or null.
    frmNotification* Popup() const { return m_NotificationWindow.get(); }
    const NotificationQueue& Waiting() const { return queue_; }

private:
    void OnClicked(const std::string& key);
    void OnFinished(const frmNotification* window);
    // Deletes the pop-ups that have finished, once nothing runs inside them any more.
    void DeleteFinished();

    std::function<void(const std::string&)> showMessage_;
    HINSTANCE instance_;
    SoundPlayer playSound_;
    NotificationQueue queue_;
    std::unique_ptr<frmNotification> m_NotificationWindow;
    std::vector<std::unique_ptr<frmNotification>> finished_;
};

}  // namespace hm
