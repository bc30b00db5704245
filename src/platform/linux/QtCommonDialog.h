#pragma once

#include "platform/CommonDialog.h"

#include <QStringList>

namespace nc {

/// Qt's file dialog, set up from the classic dialog properties.
class QtCommonDialog final : public CommonDialog {
public:
    QString ShowSave(const SaveAsRequest& request) override;
};

/// Qt name filters for a "description|pattern|..." filter list.
QStringList NameFilters(const QString& filter);

} // namespace nc
