#include "log/fatal_stop.h"

#include "base/program_exit.h"

namespace vespar {

void FatalStop(Context& ctx, const MessageBox& box) {
    if (Timer* t = ctx.timers.Find(kRefreshTimer)) t->SetEnabled(false);
    ctx.dialogs.Show(box);
    ctx.rt.trayIconShown = false;
    throw ProgramExit{1};
}

}  // namespace vespar
