#pragma once

#include <QBasicTimer>
#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QRect>
#include <QString>
#include <QValidator>

#include <functional>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace nc {

class Launcher;

/// Layouts are drawn in twips; at 96 logical dots per inch a pixel is 15 twips.
inline constexpr int kTwipsPerPixel = 15;

constexpr int px(int twips) {
    return twips / kTwipsPerPixel;
}
constexpr int twips(int pixels) {
    return pixels * kTwipsPerPixel;
}

/// A control's place in its container: left, top, width and height in twips.
struct TwipsRect {
    int left, top, width, height;
    QRect pixels() const { return {px(left), px(top), px(width), px(height)}; }
    /// The same place, given in the window, within \a frame (placed in the same window).
    TwipsRect within(const TwipsRect& frame) const {
        return {left - frame.left, top - frame.top, width, height};
    }
};

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
/// The contrast ratio of two colours as the accessibility guidelines of the web reckon it, from
/// 1 (none) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);
/// \a wanted where it reads on \a background (a contrast of at least 4.5:1), else the nearest
/// shade of it, towards white or black, that does.
QColor Readable(const QColor& wanted, const QColor& background);
/// Draws \a widget's text in \a colour, or in a shade of it that reads on a dark palette.
void SetTextColour(QWidget* widget, const QColor& colour);

/// A command button.
QPushButton* Button(QWidget* parent, const char* name, const QString& caption, TwipsRect where,
                    const QString& toolTip = {});
/// A label in the dialog font at \a points.
QLabel* Label(QWidget* parent, const char* name, const QString& text, TwipsRect where,
              double points = 8.25, bool bold = false);
/// Sets a label's text; screen readers get it with plain line breaks instead of CR LF.
void SetLabelText(QLabel* label, const QString& text);

/// A check box as the classic one: its whole area takes the click (and is what screen readers
/// are told it covers), and its caption wraps over as many lines as its height allows.
class CheckBox : public QCheckBox {
public:
    CheckBox(const QString& caption, QWidget* parent);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect captionRect() const;
};

/// Limits what the user types or pastes into a line edit, as a classic edit box's maximum
/// length does: an insertion is cut to the room that is left, text set by the program is never
/// cut, and a longer text can always be shortened.
class TypedLengthLimit : public QValidator {
public:
    TypedLengthLimit(QLineEdit* box, int maxTyped);
    State validate(QString& input, int& pos) const override;

private:
    const QLineEdit* m_box;
    int m_max;
    QString m_before; ///< the text before the edit being checked
};

/// A label in the link style: pure blue, underlined, a pointing hand over it, and a click that
/// runs its handler. Screen readers see a link they can press.
class LinkLabel : public QLabel {
    Q_OBJECT // its own class name, by which screen readers are given a link

        public : LinkLabel(QWidget* parent, const char* name, const QString& text, TwipsRect where,
                           double points, const QString& toolTip, std::function<void()> onClick);
    /// Does what a click does.
    void Press() const;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::function<void()> m_onClick;
};

/// Keeps a window centred, frame included, on its \a owner's frame, or on the screen without
/// one: as it is shown, and again once the window manager has framed it, since until then Qt
/// can only guess the frame's size.
class KeepCentred : public QObject {
public:
    explicit KeepCentred(QWidget* window, QWidget* owner = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    bool Framed() const;
    void Correct();
    void Centre() const;
    QWidget* m_window;
    QWidget* m_owner;
    QBasicTimer m_frameWait;
    int m_looksLeft = 0;
};

/// Opens a web or mail address with the desktop's own program, as a link click does.
void LaunchAddress(Launcher& launcher, const QString& address);

} // namespace nc
