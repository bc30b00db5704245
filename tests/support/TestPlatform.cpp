#include "TestPlatform.h"

#include "app/frmMain.h"
#include "platform/linux/RealPlatform.h"
#include "settings/Options.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>

#include <csignal>

namespace nc {

namespace {

QWidget* const focused = nullptr; // QTest sends keys to the focused control through this

/// One line for what \a window shows: "Warning TITLE: TEXT [Yes No*]" for a message box
/// (* the default button), "report CODE NUMBER" for the error report, "Input TITLE: LABEL",
/// "SaveAs TITLE: FOLDER|FILE|FILTER|SUFFIX", or "NAME TITLE" for the program's own forms.
QString describe(QWidget* window) {
    const QString title = window->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(window)) {
        QString text = box->text();
        // The error report, as it must look, in short; any other look is described in full.
        if (title == QLatin1String("Netcairn 1.21 Error Message") &&
            box->icon() == QMessageBox::Critical && box->buttons().size() == 1 &&
            box->buttons()[0] == box->button(QMessageBox::Ok) &&
            text.endsWith(QLatin1String("\n\nme@nc.test"))) {
            return QStringLiteral("report ") +
                   text.section(QStringLiteral("Code:   "), 1, 1).section(u'\n', 0, 0) + u' ' +
                   text.section(QStringLiteral("Code:   "), 2, 2).section(u'\n', 0, 0);
        }
        QStringList buttons;
        for (QAbstractButton* button : box->buttons())
            buttons << QString(button->text()).remove(u'&') +
                           (button == box->defaultButton() ? QStringLiteral("*") : QString());
        // As a person reads it: any markup shows as it is typed.
        if (box->textFormat() == Qt::RichText ||
            (box->textFormat() == Qt::AutoText && Qt::mightBeRichText(text)))
            text = QTextDocumentFragment::fromHtml(text).toPlainText();
        static const char* const icons[] = {"None", "Information", "Warning", "Critical",
                                            "Question"};
        return QLatin1String(icons[box->icon()]) + u' ' + title + QStringLiteral(": ") + text +
               QStringLiteral(" [") + buttons.join(u' ') + u']';
    }
    if (auto* input = qobject_cast<QInputDialog*>(window))
        return QStringLiteral("Input ") + title + QStringLiteral(": ") + input->labelText();
    if (auto* files = qobject_cast<QFileDialog*>(window)) {
        return (files->acceptMode() == QFileDialog::AcceptSave ? QStringLiteral("SaveAs ")
                                                               : QStringLiteral("Open ")) +
               title + QStringLiteral(": ") +
               QStringList{files->directory().path(),
                           files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(),
                           files->selectedNameFilter(), files->defaultSuffix()}
                   .join(u'|');
    }
    return window->objectName() + u' ' + title;
}

} // namespace

void User::Perform(const QString& actions) {
    for (const QString& action : actions.split(u';', Qt::SkipEmptyParts)) {
        // Keys go to the topmost window; offscreen, no window manager hands the activation back
        // once a window above it closes: a person would click it.
        if (!QApplication::activeWindow()) {
            QWidget* under = QApplication::activeModalWidget();
            for (QWidget* top : QApplication::topLevelWidgets())
                under = under ? under
                              : (top->isVisible() && qobject_cast<QDialog*>(top) ? top : nullptr);
            if (under)
                under->activateWindow();
        }
        (void)QTest::qWaitFor([] {
            QWidget* modal = QApplication::activeModalWidget();
            return QApplication::activeWindow() &&
                   (!modal || QApplication::activeWindow() == modal);
        });
        QWidget* window = QApplication::activeWindow();
        if (!window)
            qFatal("no window is active for %s", qPrintable(action));
        const QString argument = action.section(u':', 1);
        if (action.startsWith(QLatin1String("click:"))) {
            auto* target = window->findChild<QWidget*>(argument.section(u'@', 0, 0));
            if (!target)
                qFatal("no control %s in %s", qPrintable(argument),
                       qPrintable(window->objectName()));
            const QRect area = target->rect();
            const QString x = argument.section(u'@', 1); // pixels off its right edge
            const QPoint at =
                x.isEmpty() ? area.center() : QPoint(area.right() + x.toInt(), area.center().y());
            QTest::mouseClick(target, Qt::LeftButton, {}, at);
        } else if (action.startsWith(QLatin1String("type:"))) {
            QTest::keyClicks(focused, argument);
        } else if (action.startsWith(QLatin1String("signal:"))) {
            std::raise(argument.toInt());
        } else if (action.startsWith(QLatin1String("file:"))) {
            window->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(argument);
            QTest::keyClick(focused, Qt::Key_Return);
        } else {
            const QKeyCombination key = QKeySequence(action)[0];
            QTest::keyClick(focused, key.key(), key.keyboardModifiers());
        }
    }
}

bool User::eventFilter(QObject* watched, QEvent* event) {
    auto* window = qobject_cast<QWidget*>(watched);
    if (event->type() != QEvent::WindowActivate || !window || !window->isWindow() ||
        !window->isModal() || m_answered.contains(window))
        return false;
    m_answered << window;
    QPointer<QWidget> guard(window);
    // Answered once the window has settled, as a person does: never from inside its showing.
    QTimer::singleShot(0, this, [this, guard] {
        if (!guard)
            return;
        seen << describe(guard);
        const auto* box = qobject_cast<QMessageBox*>(guard);
        texts << (box ? box->text() : guard->windowTitle());
        QString answer = answers.isEmpty() ? QStringLiteral("Escape") : answers.takeFirst();
        if (answer.startsWith(QLatin1String("call:"))) { // something else happens meanwhile
            calls.value(answer.section(u';', 0, 0).mid(5))();
            answer = answer.section(u';', 1);
        }
        Perform(answer);
        QTimer::singleShot(10000, this, [this, guard] { // long after any answer lands
            if (guard && guard->isVisible()) {
                seen << QStringLiteral("stuck ") + describe(guard);
                guard->close();
            }
        });
    });
    return false;
}

AddressTables FakeAddressSource::ReadTables(bool) {
    quint32 ip = 0;
    for (const QString& part : address.split(u'.'))
        ip = ip << 8 | part.toUInt();
    return {{}, {{QStringLiteral("eth0"), ip, 0xffffff00u, true, true, ip == 0x7f000001}}, {}, {}};
}

TestPlatform::TestPlatform(unsigned real)
    : root(temporary.path()),
      activeWindowing((real & RealWindowing)
                          ? static_cast<Windowing&>(realWindowing.emplace(nullptr, 60000))
                          : windowing),
      registry({path(QStringLiteral("bin/sysinfo"))}),
      launcher(path(QStringLiteral("bin/xdg-open"))) {
    app.path = root;
    qputenv("CUPS_SERVER", "/dev/null/none"); // no test reaches the machine's printers
    SubstituteClassicFonts();
    for (const char* tool : {"xdg-open", "sysinfo"}) { // each notes how it was started
        QFile script(writeFile(QStringLiteral("bin/") + QLatin1String(tool),
                               QStringLiteral("#!/bin/sh\necho %1 \"$@\" >> '%2'\n")
                                   .arg(QLatin1String(tool), path(QStringLiteral("launched")))
                                   .toUtf8()));
        script.setPermissions(script.permissions() | QFile::ExeOwner);
    }
    QApplication::clipboard()->clear(); // one clipboard serves every test of a process
}

QString TestPlatform::writeFile(const QString& where, const QByteArray& bytes) const {
    const QString file = where.startsWith(u'/') ? where : path(where);
    QDir().mkpath(QFileInfo(file).path());
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(file));
    return file;
}

QByteArray TestPlatform::readFile(const QString& path) {
    QFile in(path);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void TestPlatform::storeOptions(int autoCopy, int autoSave, const QString& path) {
    StoreOptions(settings, app.Title(), autoCopy, autoSave, path);
    settings.RecordFirstStart(app.Title());
}

QString TestPlatform::stored(const QString& key) {
    return settings.GetSetting(app.Title(), OptionsSection, key);
}

QString TestPlatform::launched() const {
    // Started programs run side by side; the order in which they write is theirs.
    QStringList lines = QString::fromUtf8(readFile(path(QStringLiteral("launched"))))
                            .split(u'\n', Qt::SkipEmptyParts);
    lines.sort();
    return lines.join(u'\n');
}

std::unique_ptr<frmMain> TestPlatform::loadedWindow() {
    auto window = std::make_unique<frmMain>(bundle);
    FromToolkit([&] { window->Form_Load(); });
    if (bundle.windowing.HasEnded())
        return window;
    window->show();
    if (!QTest::qWaitForWindowActive(window.get()))
        qFatal("the main window never became active");
    QCoreApplication::processEvents(); // the queued keystrokes that select the address
    return window;
}

} // namespace nc
