#pragma once

#include <string>

namespace vespar {

enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Buttons { Ok, OkCancel, YesNoCancel, YesNo };
enum class Answer { Ok, Cancel, Yes, No };

// A message box: title, text (lines joined by CR LF), icon and buttons. A time-out above 0
// closes the box by itself after that many seconds (answered as Ok).
struct MessageBox {
    std::string title;
    std::string text;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    int timeoutSeconds = 0;

    friend bool operator==(const MessageBox&, const MessageBox&) = default;
};

// Shows a message box modally and answers with the button pressed.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual Answer Show(const MessageBox& box) = 0;
};

}  // namespace vespar
