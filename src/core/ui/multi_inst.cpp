#include "ui/multi_inst.h"

#include "base/program_exit.h"
#include "base/text.h"
#include "base/version.h"

namespace vespar {

MultiInstScreen::MultiInstScreen() : ScreenModel("MultiInst") {
    const std::string product = kProductName;
    caption = product + " Start Up Error";
    topmost = true;
    control(kLogo);
    control(kImage1);
    Control& exit = control(kExit);
    exit.caption = "&Exit";
    exit.tooltip = "Close " + product;
    control(kErrorMess).caption =
        JoinCrLf({product + " or " + product + " Lumo is already", "running. Only one instance",
                  "can be running at a time."});
    // Nothing else runs in this process, so Exit ends it at once.
    OnClick(kExit, [] { throw ProgramExit{0}; });
    OnClick(ScreenModel::kCloseEvent, [] { throw ProgramExit{0}; });
}

}  // namespace vespar
