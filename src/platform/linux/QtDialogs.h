#pragma once

#include "platform/Dialogs.h"
#include "platform/Windowing.h"

#include <functional>

class QWidget;

namespace nc {

/// Message and input boxes as Qt's modal dialogs, over the window in use.
class QtDialogs final : public Dialogs {
public:
    /// Boxes are titled \a applicationTitle where they have no title of their own; a box that
    /// closes because \a windowing has ended the program throws ProgramEnding. \a onAnswer runs
    /// as the user answers a message box, while the box is still up.
    QtDialogs(QString applicationTitle, const Windowing& windowing,
              std::function<void(QWidget&)> onAnswer = {})
        : m_title(std::move(applicationTitle)), m_windowing(windowing),
          m_onAnswer(std::move(onAnswer)) {}
    int MsgBox(const QString& prompt, int style, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;

private:
    /// What a box returns is void once the program is ending.
    void EndIfEnded() const;

    QString m_title;
    const Windowing& m_windowing;
    std::function<void(QWidget&)> m_onAnswer;
};

} // namespace nc
