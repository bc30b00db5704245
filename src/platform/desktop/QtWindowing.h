#pragma once

#include "platform/Windowing.h"

namespace nc {

/// Modal forms run their own event loop; the program ends through the main event loop, so that
/// Qt can still hand the clipboard to the desktop's clipboard manager.
class QtWindowing final : public Windowing {
public:
    void ShowModal(QDialog& form) override;
    void End() override;
    bool HasEnded() const override { return m_ended; }

private:
    bool m_ended = false;
};

} // namespace nc
