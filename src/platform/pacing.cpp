#include "platform/pacing.h"

namespace platform {

bool passDue(const PassWait& w) {
    if (w.keyWentDown) return true;
    if (!w.tickPending && !w.pointerMoved) return false;
    return w.now - w.lastFrame >= w.framePeriod;
}

}  // namespace platform
