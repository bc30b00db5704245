#include "QtClipboard.h"

#include "platform/Failure.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>

#include <xcb/xcb.h>

namespace nc {

namespace {

constexpr int kKeeperStartMs = 3000;

QClipboard& clipboard() {
    QClipboard* board = QGuiApplication::clipboard();
    if (!board)
        throw Failure(errClipboard, classicDescription(errClipboard), QStringLiteral("Clipboard"));
    return *board;
}

/// Whether an X11 clipboard manager will take the clipboard over as the program ends.
bool x11HasClipboardManager() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    static const char name[] = "CLIPBOARD_MANAGER";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, true, sizeof name - 1, name), nullptr);
    if (!atom)
        return false;
    xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
    const bool managed = atom->atom != XCB_NONE && owner && owner->owner != XCB_NONE;
    free(owner);
    free(atom);
    return managed;
}

} // namespace

void QtClipboard::Clear() {
    clipboard().clear(QClipboard::Clipboard);
}

void QtClipboard::SetText(const QString& text) {
    clipboard().setText(text, QClipboard::Clipboard);
}

void QtClipboard::KeepAfterExit() {
    QClipboard* board = QGuiApplication::clipboard();
    if (!board || !board->ownsClipboard())
        return; // nothing of ours to keep: something else was copied since
    QStringList keeper;
    if (QGuiApplication::platformName() == QLatin1String("xcb") && !x11HasClipboardManager())
        keeper = {QStringLiteral("xclip"), QStringLiteral("-selection"),
                  QStringLiteral("clipboard"), QStringLiteral("-in")};
    else if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        keeper = {QStringLiteral("wl-copy")};
    if (keeper.isEmpty() || QStandardPaths::findExecutable(keeper.first()).isEmpty())
        return;
    // The keeper takes the selection over, forks into the background and lets its first
    // process end: once that has ended, the text is safe.
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(keeper.takeFirst(), keeper);
    process.write(board->text(QClipboard::Clipboard).toUtf8());
    process.closeWriteChannel();
    process.waitForFinished(kKeeperStartMs);
}

} // namespace nc
