#include "Controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace nc {

QFont DialogFont(double points, bool bold) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QGroupBox* Frame(QWidget* parent, const char* name, const QString& caption, TwipsRect where) {
    auto* frame = Place(new QGroupBox(caption, parent), name, where);
    frame->setFocusPolicy(Qt::NoFocus);
    return frame;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, TwipsRect where,
                    const QString& toolTip) {
    return Place(new QPushButton(caption, parent), name, where, toolTip);
}

QLabel* Label(QWidget* parent, const char* name, const QString& text, TwipsRect where,
              double points, bool bold) {
    auto* label = Place(new QLabel(text, parent), name, where);
    label->setFont(DialogFont(points, bold));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QRect WrappingCheckBox::captionRect() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    const int indicator = style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this) +
                          style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
    return rect().adjusted(indicator, 0, 0, 0);
}

QSize WrappingCheckBox::sizeHint() const {
    const QRect bounds = fontMetrics().boundingRect(captionRect(), Qt::TextWordWrap, text());
    return {width(), qMax(QCheckBox::sizeHint().height(), bounds.height())};
}

void WrappingCheckBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.rect = QStyle::alignedRect(layoutDirection(), Qt::AlignLeft | Qt::AlignVCenter,
                                      QSize(style()->pixelMetric(QStyle::PM_IndicatorWidth),
                                            style()->pixelMetric(QStyle::PM_IndicatorHeight)),
                                      rect());
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, option);
    const QRect caption = captionRect();
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = fontMetrics().boundingRect(caption, Qt::TextWordWrap, text());
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace nc
