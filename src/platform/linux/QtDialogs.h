#pragma once

#include "platform/Dialogs.h"

namespace nc {

/// Message and input boxes as Qt's modal dialogs, over the window in use.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QString applicationTitle) : m_title(std::move(applicationTitle)) {}
    int MsgBox(const QString& prompt, int style, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;

private:
    QString m_title;
};

} // namespace nc
