#include "SendKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QList>
#include <QPointer>
#include <QWidget>

namespace nc {

namespace {

struct Stroke {
    int key;
    Qt::KeyboardModifiers modifiers;
    QString text;
};

QList<Stroke> parse(const QString& keys) {
    QList<Stroke> strokes;
    Qt::KeyboardModifiers pending;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (keys[i] == u'+') {
            pending |= Qt::ShiftModifier;
            continue;
        }
        Stroke stroke{0, pending, {}};
        const qsizetype close = keys.indexOf(u'}', i + 1);
        if (keys[i] == u'{' && close > i + 1) {
            const QString name = keys.mid(i + 1, close - i - 1).toUpper();
            stroke.key = name == QLatin1String("END")    ? Qt::Key_End
                         : name == QLatin1String("HOME") ? Qt::Key_Home
                                                         : 0;
            if (stroke.key == 0 && name.size() == 1) {
                stroke.text = name;
                stroke.key = name[0].unicode();
            }
            i = close;
        } else {
            stroke.text = keys[i];
            stroke.key = keys[i].toUpper().unicode();
        }
        if (stroke.key != 0)
            strokes.append(stroke);
        pending = {};
    }
    return strokes;
}

/// Qt 6.4 on Wayland crashes on a synthetic key event where the compositor offers no input seat,
/// and asking Qt for the seat crashes the same way; so there a line edit takes the keys through
/// its own editing calls, which leave the same text, cursor and selection.
bool keyEventsAreUnsafe() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void deliver(QWidget* target, const Stroke& s) {
    if (auto* box = qobject_cast<QLineEdit*>(target); box && keyEventsAreUnsafe()) {
        const bool mark = s.modifiers.testFlag(Qt::ShiftModifier);
        if (s.key == Qt::Key_End)
            box->end(mark);
        else if (s.key == Qt::Key_Home)
            box->home(mark);
        else
            box->insert(s.text);
        return;
    }
    QKeyEvent press(QEvent::KeyPress, s.key, s.modifiers, s.text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, s.key, s.modifiers, s.text);
    QCoreApplication::sendEvent(target, &release);
}

} // namespace

void SendKeys(QWidget* window, const QString& keys) {
    const QList<Stroke> strokes = parse(keys);
    QPointer<QWidget> guard(window);
    QMetaObject::invokeMethod(
        window,
        [guard, strokes] {
            QWidget* target = QApplication::focusWidget();
            if (!target && guard)
                target = guard->focusWidget() ? guard->focusWidget() : guard.data();
            for (const Stroke& s : strokes) {
                if (!target)
                    return;
                deliver(target, s);
            }
        },
        Qt::QueuedConnection);
}

} // namespace nc
