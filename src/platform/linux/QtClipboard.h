#pragma once

#include "platform/Clipboard.h"

namespace nc {

/// The desktop clipboard through Qt. At the end Qt hands what Netcairn copied to a clipboard
/// manager where one owns CLIPBOARD_MANAGER; where none does, a small keeper (xclip on X11,
/// wl-copy on Wayland) goes on offering the text until something else is copied.
class QtClipboard final : public Clipboard {
public:
    void Clear() override;
    void SetText(const QString& text) override;
    void KeepAfterExit() override;
};

} // namespace nc
