#include "Controls.h"

#include "Form.h"
#include "platform/Launcher.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>
#include <cmath>

namespace nc {

namespace {

class AccessibleLink final : public QAccessibleWidget {
public:
    explicit AccessibleLink(LinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) {}
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? static_cast<QLabel*>(widget())->text()
                                      : QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction())
            static_cast<LinkLabel*>(widget())->Press();
    }
};

QAccessibleInterface* accessibleLinks(const QString& className, QObject* object) {
    return className == QLatin1String(LinkLabel::staticMetaObject.className())
               ? new AccessibleLink(static_cast<LinkLabel*>(object))
               : nullptr;
}

} // namespace

QFont DialogFont(double points, bool bold) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

double ContrastRatio(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) {
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double x = luminance(a), y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

QColor Readable(const QColor& wanted, const QColor& background) {
    constexpr double kReadable = 4.5;
    const QColor towards =
        ContrastRatio(Qt::white, background) > ContrastRatio(Qt::black, background)
            ? QColor(Qt::white)
            : QColor(Qt::black);
    QColor shade = wanted;
    for (int step = 1; step <= 20 && ContrastRatio(shade, background) < kReadable; ++step) {
        const double t = step / 20.0;
        shade = QColor::fromRgbF(float(wanted.redF() * (1 - t) + towards.redF() * t),
                                 float(wanted.greenF() * (1 - t) + towards.greenF() * t),
                                 float(wanted.blueF() * (1 - t) + towards.blueF() * t));
    }
    return shade;
}

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, Readable(colour, palette.color(QPalette::Window)));
    widget->setPalette(palette);
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

void SetLabelText(QLabel* label, const QString& text) {
    label->setText(text);
    label->setAccessibleName(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

namespace {

/// Gives a check box's whole area to the click; Qt's check box takes it only over the box and
/// the caption's text, and tells screen readers that it covers no more.
class WholeAreaClicks final : public QProxyStyle {
public:
    QRect subElementRect(SubElement element, const QStyleOption* option,
                         const QWidget* widget) const override {
        return element == SE_CheckBoxClickRect
                   ? option->rect
                   : QProxyStyle::subElementRect(element, option, widget);
    }
};

} // namespace

CheckBox::CheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {
    static QPointer<WholeAreaClicks> shared;
    if (!shared) {
        shared = new WholeAreaClicks;
        shared->setParent(QCoreApplication::instance());
    }
    setStyle(shared);
}

QRect CheckBox::captionRect() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    const int indicator = style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this) +
                          style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
    return rect().adjusted(indicator, 0, 0, 0);
}

QSize CheckBox::sizeHint() const {
    const QRect bounds = fontMetrics().boundingRect(captionRect(), Qt::TextWordWrap, text());
    return {width(), qMax(QCheckBox::sizeHint().height(), bounds.height())};
}

void CheckBox::paintEvent(QPaintEvent*) {
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

TypedLengthLimit::TypedLengthLimit(QLineEdit* box, int maxTyped)
    : QValidator(box), m_box(box), m_max(maxTyped), m_before(box->text()) {
    connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { m_before = text; });
    box->setValidator(this);
}

QValidator::State TypedLengthLimit::validate(QString& input, int& pos) const {
    // QLineEdit validates the program's own setText too, and takes any change made here; such
    // text comes with the box unmodified, and is let through whole.
    if (!m_box->isModified())
        return Acceptable;
    // What the edit kept of the text before it: the common start up to the cursor, and the
    // common end after it. What stands between is what was just typed or pasted, and the
    // selection it replaced is gone already.
    qsizetype start = 0;
    while (start < pos && start < m_before.size() && input[start] == m_before[start])
        ++start;
    qsizetype end = 0;
    while (end < m_before.size() - start && end < input.size() - pos &&
           input[input.size() - 1 - end] == m_before[m_before.size() - 1 - end])
        ++end;
    // As a classic edit box: the insertion fills the room left up to the limit, and a text that
    // is longer already takes nothing more.
    const qsizetype excess = input.size() - qMax<qsizetype>(m_max, start + end);
    if (excess <= 0)
        return Acceptable;
    if (pos - start < excess)
        return Invalid;
    input.remove(pos - excess, excess);
    pos -= int(excess);
    return Acceptable;
}

LinkLabel::LinkLabel(QWidget* parent, const char* name, const QString& text, TwipsRect where,
                     double points, const QString& toolTip, std::function<void()> onClick)
    : QLabel(text, parent), m_onClick(std::move(onClick)) {
    static const bool accessible = (QAccessible::installFactory(accessibleLinks), true);
    Q_UNUSED(accessible);
    Place(this, name, where, toolTip);
    QFont font = DialogFont(points);
    font.setUnderline(true);
    setFont(font);
    SetTextColour(this, QColor(0, 0, 255));
    setCursor(Qt::PointingHandCursor);
    setTextFormat(Qt::PlainText);
}

void LinkLabel::Press() const {
    if (m_onClick)
        FromToolkit(m_onClick);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Press();
    QLabel::mouseReleaseEvent(event);
}

namespace {

/// How often, and how many times, a window that came up unframed looks for its frame.
constexpr int kFrameLookMs = 20;
constexpr int kFrameLooks = 50;

} // namespace

KeepCentred::KeepCentred(QWidget* window, QWidget* owner)
    : QObject(window), m_window(window), m_owner(owner) {
    window->installEventFilter(this);
}

bool KeepCentred::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Show) {
        Centre();
    } else if ((type == QEvent::Move || type == QEvent::Paint || type == QEvent::WindowActivate) &&
               Framed()) {
        Correct();
    } else if (type == QEvent::WindowActivate && !m_frameWait.isActive()) {
        // Qt reads the frame again only after the window manager has configured the window, and
        // may have read it before the frame was set: a move brings a configure, and a look now
        // and then finds the frame once Qt has read it. No event tells.
        m_window->move(m_window->pos() + QPoint(0, 1));
        m_looksLeft = kFrameLooks;
        m_frameWait.start(kFrameLookMs, this);
    }
    return QObject::eventFilter(watched, event);
}

void KeepCentred::timerEvent(QTimerEvent*) {
    // Without a frame by then (no window manager), the window is centred as it is.
    if (Framed() || --m_looksLeft <= 0)
        Correct();
}

bool KeepCentred::Framed() const {
    // Qt may also report the frame the window manager has only begun to build, of 1 x 1.
    const QRect frame = m_window->frameGeometry(), client = m_window->geometry();
    return frame != client && frame.contains(client);
}

void KeepCentred::Correct() {
    // After this one correction the window is the user's to move.
    m_frameWait.stop();
    m_window->removeEventFilter(this);
    Centre();
}

void KeepCentred::Centre() const {
    const QRect area = m_owner && m_owner->isVisible() ? m_owner->frameGeometry()
                                                       : m_window->screen()->availableGeometry();
    const QSize frame = m_window->frameGeometry().size();
    m_window->move(area.x() + (area.width() - frame.width()) / 2,
                   area.y() + (area.height() - frame.height()) / 2);
}

void LaunchAddress(Launcher& launcher, const QString& address) {
    launcher.Shell(QStringLiteral("start.exe ") + address, vbHide);
}

} // namespace nc
