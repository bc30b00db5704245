#include "Controls.h"

#include "platform/Launcher.h"

#include <QAccessibleWidget>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStylePainter>

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
    const qsizetype excess = input.size() - qMax<qsizetype>(m_max, m_before.size());
    if (excess <= 0)
        return Acceptable;
    // The characters just typed or pasted end at the cursor and begin where the text first
    // differs from before; only they are cut, from their end.
    qsizetype start = 0;
    while (start < pos && start < m_before.size() && input[start] == m_before[start])
        ++start;
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
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    setPalette(palette);
    setCursor(Qt::PointingHandCursor);
    setTextFormat(Qt::PlainText);
}

void LinkLabel::Press() const {
    if (m_onClick)
        m_onClick();
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

CentreOnScreen::CentreOnScreen(QWidget* window) : QObject(window), m_window(window) {
    window->installEventFilter(this);
}

bool CentreOnScreen::eventFilter(QObject* watched, QEvent* event) {
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

void CentreOnScreen::timerEvent(QTimerEvent*) {
    // Without a frame by then (no window manager), the window is centred as it is.
    if (Framed() || --m_looksLeft <= 0)
        Correct();
}

bool CentreOnScreen::Framed() const {
    // Qt may also report the frame the window manager has only begun to build, of 1 x 1.
    const QRect frame = m_window->frameGeometry(), client = m_window->geometry();
    return frame != client && frame.contains(client);
}

void CentreOnScreen::Correct() {
    // After this one correction the window is the user's to move.
    m_frameWait.stop();
    m_window->removeEventFilter(this);
    Centre();
}

void CentreOnScreen::Centre() const {
    const QRect screen = m_window->screen()->availableGeometry();
    const QSize frame = m_window->frameGeometry().size();
    m_window->move(screen.x() + (screen.width() - frame.width()) / 2,
                   screen.y() + (screen.height() - frame.height()) / 2);
}

void LaunchAddress(Launcher& launcher, const QString& address) {
    launcher.Shell(QStringLiteral("start.exe ") + address, vbHide);
}

} // namespace nc
