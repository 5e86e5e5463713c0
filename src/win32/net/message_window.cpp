#include "win32/net/message_window.h"

#include <stdexcept>

namespace vespar::win32 {
namespace {

constexpr const char* kClassName = "VesparMessageWindow";
constexpr UINT kRunPosted = WM_APP;

void RegisterClassOnce(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    if (GetClassInfoExA(instance, kClassName, &windowClass) != 0) return;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;  // until the window knows its object
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    RegisterClassExA(&windowClass);
}

}  // namespace

void MessageWindow::Mailbox::Post(std::function<void()> work) {
    std::lock_guard lock(mutex_);
    if (window_ == nullptr) return;
    queue_.push_back(std::move(work));
    // One wake-up is enough for a queue that was empty; the handler drains it all.
    if (queue_.size() == 1) PostMessageA(window_, kRunPosted, 0, 0);
}

MessageWindow::MessageWindow() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterClassOnce(instance);
    window_ =
        CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (window_ == nullptr) throw std::runtime_error("cannot create a message window");
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
    std::lock_guard lock(mailbox_->mutex_);
    mailbox_->window_ = window_;
}

MessageWindow::~MessageWindow() {
    {
        std::lock_guard lock(mailbox_->mutex_);
        mailbox_->window_ = nullptr;
        mailbox_->queue_.clear();
    }
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

UINT MessageWindow::Register(Handler handler) {
    const UINT message = nextMessage_++;
    handlers_[message] = std::move(handler);
    return message;
}

void MessageWindow::Unregister(UINT message) { handlers_.erase(message); }

void MessageWindow::RunPosted() {
    for (;;) {
        std::function<void()> work;
        {
            std::lock_guard lock(mailbox_->mutex_);
            if (mailbox_->queue_.empty()) return;
            work = std::move(mailbox_->queue_.front());
            mailbox_->queue_.pop_front();
        }
        work();
    }
}

LRESULT CALLBACK MessageWindow::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != nullptr) {
        if (message == kRunPosted) {
            self->RunPosted();
            return 0;
        }
        if (auto it = self->handlers_.find(message); it != self->handlers_.end()) {
            // A copy: the handler may unregister itself.
            const Handler handler = it->second;
            handler(w, l);
            return 0;
        }
    }
    return DefWindowProcA(window, message, w, l);
}

}  // namespace vespar::win32
