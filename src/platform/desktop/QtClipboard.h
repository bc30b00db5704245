#pragma once

#include "platform/Clipboard.h"

namespace nc {

/// The desktop clipboard through Qt; the text stays available after Netcairn ends as long as
/// the application is let to end normally (Qt hands it to the clipboard manager).
class QtClipboard final : public Clipboard {
public:
    void Clear() override;
    void SetText(const QString& text) override;
};

} // namespace nc
