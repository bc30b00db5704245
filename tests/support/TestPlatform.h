#pragma once

// Every service a test needs: the real settings store, file system, clipboard and printer in a
// home folder of the test's own, and stand-ins for what blocks or reaches outside. Each
// stand-in records what it was asked and answers as the test tells it to.

#include "platform/ApplicationObject.h"
#include "platform/CommonDialog.h"
#include "platform/Dialogs.h"
#include "platform/Failure.h"
#include "platform/InstanceGuard.h"
#include "platform/Launcher.h"
#include "platform/OpenForms.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "platform/linux/IniSettingsStore.h"
#include "platform/linux/LinuxAddressSource.h"
#include "platform/linux/QtClipboard.h"
#include "platform/linux/QtFileSystem.h"
#include "platform/linux/QtPrinter.h"
#include "platform/linux/QtWindowing.h"

#include <QMap>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace nc {

class frmMain;

struct FakeApplicationObject final : ApplicationObject {
    QString path, copyright = QStringLiteral("A 2026");
    qint16 minor = 2, revision = 1;
    QString Title() const override { return QStringLiteral("Netcairn"); }
    QString Path() const override { return path; }
    bool PathIsUsersToWrite() const override { return true; }
    QString DataPath() const override { return path; }
    qint16 Major() const override { return 1; }
    qint16 Minor() const override { return minor; }
    qint16 Revision() const override { return revision; }
    QString LegalCopyright() const override { return copyright; }
    QString HomepageAddress() const override { return QStringLiteral("http://nc.test/"); }
    QString FeedbackAddress() const override { return QStringLiteral("me@nc.test"); }
};

/// Message and input boxes, all recorded; an input box as one of style -1.
struct FakeDialogs final : Dialogs {
    struct Box {
        QString prompt;
        int style;
        QString title;
    };
    QList<Box> boxes;
    QList<int> answers;               ///< in order; then vbOK, or vbNo to a Yes/No box
    QStringList inputs;               ///< in order; then "" (cancel)
    std::function<void()> whileShown; ///< runs while a message box is up
    int MsgBox(const QString& prompt, int style, const QString& title) override {
        boxes.append({prompt, style, title});
        if (whileShown)
            whileShown();
        return !answers.isEmpty() ? answers.takeFirst() : (style & 7) == vbYesNo ? vbNo : vbOK;
    }
    QString InputBox(const QString& prompt, const QString& title, const QString&) override {
        boxes.append({prompt, -1, title});
        return inputs.isEmpty() ? QString() : inputs.takeFirst();
    }
    /// The tracking codes of the error reports shown, e.g. "frmMain.Sub.AutoSave".
    QStringList reports() const;
};

/// Shows a form until it is active, runs whileShown, then closes it. Records the platform data
/// of each bring-to-front.
struct FakeWindowing final : Windowing {
    QStringList shown;
    QList<QVariantMap> broughtToFront;
    std::function<void(QDialog&)> whileShown;
    bool ended = false;
    void ShowModal(QDialog& form) override;
    void End() override { ended = true; }
    bool HasEnded() const override { return ended; }
    void BringToFront(QWidget&, const QVariantMap& platformData) override {
        broughtToFront << platformData;
    }
    void OnEndRequest(std::function<void()>) override {}
};

/// One interface holding the dotted IPv4 \a address (the loopback one for "127.0.0.1").
struct FakeAddressSource final : AddressSource {
    QString address = QStringLiteral("192.168.1.20");
    AddressTables ReadTables(bool) override;
};

/// Every Save As dialog is cancelled.
struct CancelledDialog final : CommonDialog {
    QString ShowSave(const SaveAsRequest&) override { throw Failure::of(errCancel); }
};

/// Values by "key path|value name": type and bytes.
struct FakeRegistry final : Registry {
    QMap<QByteArray, std::pair<quint32, QByteArray>> values;
    QByteArray opened;
    QList<HKey> closed;
    long RegOpenKeyExA(HKey, const QByteArray& key, quint32, quint32, HKey* result) override {
        opened = key + '|';
        *result = values.keys().join('\n').contains(opened) ? 1 : 0;
        return *result ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    }
    long RegQueryValueExA(HKey, const QByteArray& name, quint32* type, char* data,
                          quint32* size) override;
    long RegCloseKey(HKey key) override { return closed << key, ERROR_SUCCESS; }
};

/// Records "style|command line".
struct FakeLauncher final : Launcher {
    QStringList commands;
    void Shell(const QString& line, int style) override {
        commands << QString::number(style) + u'|' + line;
    }
};

struct FakeInstanceGuard final : InstanceGuard {
    bool previous = false, firstCopyAnswers = true;
    int activated = 0;
    std::function<bool(const QVariantMap&)> listener;
    bool PrevInstance() override { return previous; }
    void ActivateFirstCopy() override {
        if (!firstCopyAnswers)
            throw Failure::of(errInvalidCall);
        ++activated;
    }
    void ListenForActivation(std::function<bool(const QVariantMap&)> activate) override {
        listener = std::move(activate);
    }
};

/// Real services a test may take instead of their stand-ins.
enum Real : unsigned { RealAddress = 1, RealWindowing = 2 };

/// The services for one test, in \a homeFolder or else a fresh temporary folder.
struct TestPlatform {
    explicit TestPlatform(unsigned real = 0, const QString& homeFolder = {});

    QString path(const QString& relative) const { return root + u'/' + relative; }
    /// Writes \a bytes to the file at \a relative, creating its folders; returns its path.
    QString writeFile(const QString& relative, const QByteArray& bytes) const;
    static QByteArray readFile(const QString& path);
    /// Stores the three options as Apply would, the first start done.
    void storeOptions(int autoCopy, int autoSave, const QString& path);
    QString stored(const QString& key);
    QString clipboardText() const;
    /// A main window loaded as at start-up, shown (offscreen) and active.
    std::unique_ptr<frmMain> loadedWindow();

    QTemporaryDir temporary;
    QString root;
    FakeApplicationObject app;
    FakeDialogs dialogs;
    FakeWindowing windowing;
    OpenForms forms;
    IniSettingsStore settings{path(QStringLiteral("config"))};
    QtFileSystem files;
    FakeAddressSource address;
    QtClipboard clipboard;
    CancelledDialog commonDialog;
    bool printAccepted = true; ///< the print dialog's answer; the page goes to page.pdf
    QtPrinter printer;
    FakeRegistry registry;
    FakeLauncher launcher;
    FakeInstanceGuard guard;
    std::optional<LinuxAddressSource> realAddress;
    std::optional<QtWindowing> realWindowing;
    Platform bundle;
};

} // namespace nc
