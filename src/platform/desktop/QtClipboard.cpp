#include "QtClipboard.h"

#include "platform/Failure.h"

#include <QClipboard>
#include <QGuiApplication>

namespace nc {

namespace {

QClipboard& clipboard() {
    QClipboard* board = QGuiApplication::clipboard();
    if (!board)
        throw Failure(errClipboard, classicDescription(errClipboard), QStringLiteral("Clipboard"));
    return *board;
}

} // namespace

void QtClipboard::Clear() {
    clipboard().clear(QClipboard::Clipboard);
}

void QtClipboard::SetText(const QString& text) {
    clipboard().setText(text, QClipboard::Clipboard);
}

} // namespace nc
