#include "ExitAnimation.h"

#include "platform/Failure.h"

#include <cmath>

namespace nc {

void ShrinkWindow(ShrinkingWindow& window) {
    const float steps = std::nearbyint(window.Height() / 2.0f); // halves go to the even side
    if (steps > 32767.0f || steps < -32768.0f)
        throw Failure::of(errOverflow);
    for (int i = 1; i <= static_cast<int>(steps); ++i) {
        window.ProcessEvents();
        if (window.ProgramEnded())
            return;
        window.SetHeight(window.Height() - 400.0f);
        if (!(window.Height() > 350.0f))
            return;
    }
}

} // namespace nc
