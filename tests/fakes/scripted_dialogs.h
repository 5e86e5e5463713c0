#pragma once

#include <deque>
#include <vector>

#include "base/dialogs.h"

namespace vespar::test {

// Records every message box and answers from a script (default: the first button).
class ScriptedDialogs : public Dialogs {
  public:
    Answer Show(const MessageBox& box) override {
        shown.push_back(box);
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        const bool yes = box.buttons == Buttons::YesNo || box.buttons == Buttons::YesNoCancel;
        return yes ? Answer::Yes : Answer::Ok;
    }

    std::vector<MessageBox> shown;
    std::deque<Answer> answers;
};

}  // namespace vespar::test
