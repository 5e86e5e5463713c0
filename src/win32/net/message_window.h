#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace vespar::win32 {

// A hidden message-only window (HWND_MESSAGE) on the user-interface thread: the target of
// socket notices and lookup answers, and of work posted from the system's own threads
// (WinHTTP's callbacks). It needs no desktop, so it works without a display too.
class MessageWindow {
  public:
    using Handler = std::function<void(WPARAM, LPARAM)>;

    // Thread-safe: runs posted work on the window's thread, in the order posted. After the
    // window is gone, posting does nothing.
    class Mailbox {
      public:
        void Post(std::function<void()> work);

      private:
        friend class MessageWindow;
        std::mutex mutex_;
        HWND window_ = nullptr;
        std::deque<std::function<void()>> queue_;
    };

    MessageWindow();
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    HWND Handle() const { return window_; }
    // A message number of its own (WM_APP and above) whose arrivals go to handler.
    UINT Register(Handler handler);
    void Unregister(UINT message);
    // Runs work on this window's thread later, never from inside this call.
    void Post(std::function<void()> work) { mailbox_->Post(std::move(work)); }
    // For other threads: keeps the mailbox alive however long they hold it.
    std::shared_ptr<Mailbox> SharedMailbox() const { return mailbox_; }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    void RunPosted();

    HWND window_ = nullptr;
    std::shared_ptr<Mailbox> mailbox_ = std::make_shared<Mailbox>();
    std::map<UINT, Handler> handlers_;
    UINT nextMessage_ = WM_APP + 1;
};

}  // namespace vespar::win32
