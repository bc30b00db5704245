#pragma once

#include "platform/Dialogs.h"

#include <functional>

class QWidget;

namespace nc {

/// Message and input boxes as Qt's modal dialogs, over the window in use.
class QtDialogs final : public Dialogs {
public:
    /// \a onAnswer runs as the user answers a message box, while the box is still up.
    explicit QtDialogs(QString applicationTitle, std::function<void(QWidget&)> onAnswer = {})
        : m_title(std::move(applicationTitle)), m_onAnswer(std::move(onAnswer)) {}
    int MsgBox(const QString& prompt, int style, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;

private:
    QString m_title;
    std::function<void(QWidget&)> m_onAnswer;
};

} // namespace nc
