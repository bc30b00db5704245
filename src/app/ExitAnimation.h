#pragma once

namespace nc {

/// What the exit animation needs of a window.
class ShrinkingWindow {
public:
    virtual ~ShrinkingWindow() = default;
    /// The window's outer height in twips.
    virtual float Height() const = 0;
    /// Asks for a new outer height in twips; the window may keep a larger one.
    virtual void SetHeight(float twips) = 0;
    /// Lets every waiting user-interface event be handled.
    virtual void ProcessEvents() = 0;
    /// Whether the program has ended meanwhile (a handler run while events were processed).
    virtual bool ProgramEnded() const = 0;
};

/// Shrinks the window 400 twips a step, handling pending events before each, until it is no
/// higher than 350 twips or half its starting height in steps have run. Fails with Overflow
/// when that step count does not fit a 16-bit signed integer.
void ShrinkWindow(ShrinkingWindow& window);

} // namespace nc
