#pragma once

#include "Twips.h"

#include <QCheckBox>
#include <QFont>
#include <QString>

class QGroupBox;
class QLabel;
class QPushButton;

namespace nc {

/// The classic dialog font that every window is laid out for.
QFont DialogFont(double points = 8.25, bool bold = false);

/// Places \a widget in its container under \a name, at \a where, with an optional tooltip.
template <class W>
W* Place(W* widget, const char* name, TwipsRect where, const QString& toolTip = {}) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(where.pixels());
    if (!toolTip.isEmpty())
        widget->setToolTip(toolTip);
    return widget;
}

/// A frame with a caption; frames never take the focus.
QGroupBox* Frame(QWidget* parent, const char* name, const QString& caption, TwipsRect where);
/// A command button.
QPushButton* Button(QWidget* parent, const char* name, const QString& caption, TwipsRect where,
                    const QString& toolTip = {});
/// A label in the dialog font at \a points.
QLabel* Label(QWidget* parent, const char* name, const QString& text, TwipsRect where,
              double points = 8.25, bool bold = false);

/// A check box whose caption wraps over as many lines as its height allows.
class WrappingCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

private:
    QRect captionRect() const;
};

} // namespace nc
