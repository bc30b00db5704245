#pragma once

// Every service a test needs: the real ones in a home folder of the test's own, and stand-ins
// only for what reaches outside (the address, the other copy) or needs a person (the print
// dialog, answered by a User with real key events, as every modal window is).

#include "platform/AddressSource.h"
#include "platform/ApplicationObject.h"
#include "platform/Failure.h"
#include "platform/InstanceGuard.h"
#include "platform/OpenForms.h"
#include "platform/Platform.h"
#include "platform/linux/DetachedLauncher.h"
#include "platform/linux/IniSettingsStore.h"
#include "platform/linux/LinuxRegistry.h"
#include "platform/linux/ModulePrinter.h"
#include "platform/linux/QtClipboard.h"
#include "platform/linux/QtCommonDialog.h"
#include "platform/linux/QtDialogs.h"
#include "platform/linux/QtFileSystem.h"
#include "platform/linux/QtWindowing.h"

#include <QApplication>
#include <QDialog>
#include <QMap>
#include <QPointer>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace nc {

class frmMain;

struct FakeApplicationObject final : ApplicationObject {
    QString path;
    bool installed = false; ///< the program folder is not the user's to write
    QString Title() const override { return QStringLiteral("Netcairn"); }
    QString Path() const override { return path + QStringLiteral("/bin"); }
    bool PathIsUsersToWrite() const override { return !installed; }
    QString DataPath() const override { return path + QStringLiteral("/data/Netcairn"); }
    qint16 Major() const override { return 1; }
    qint16 Minor() const override { return 2; }
    qint16 Revision() const override { return 1; }
    QString LegalCopyright() const override { return QStringLiteral("A 2026"); }
    QString HomepageAddress() const override { return QStringLiteral("http://nc.test/"); }
    QString FeedbackAddress() const override { return QStringLiteral("me@nc.test"); }
};

/// The person in front of the screen. Each modal window that comes up takes the next answer:
/// actions separated by ';' as Perform() takes them ("type:Ann;Return", "file:/some/path"), or
/// Escape without one. What each window showed is noted in seen, one line each (see describe()).
class User final : public QObject {
public:
    User() { qApp->installEventFilter(this); }
    ~User() override { qApp->removeEventFilter(this); }
    QStringList answers;
    QStringList seen;
    QStringList texts; ///< the whole text of each window seen
    /// What an answer "call:NAME;..." sets off while its window is up, before the actions.
    QMap<QString, std::function<void()>> calls;

    /// Runs actions in the window that has the focus: "click:NAME" (the named control; "@N" after
    /// it: N pixels off its right edge), "type:TEXT", "file:PATH" (chosen in a file dialog),
    /// "signal:NUMBER" (raised), else a key sequence such as "Return", "Alt+U" or "Ctrl+V".
    static void Perform(const QString& actions);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QPointer<QWidget>> m_answered;
};

/// End only notes that the program has ended, and a bring-to-front its platform data.
struct FakeWindowing final : Windowing {
    QStringList shown;
    QList<QVariantMap> broughtToFront;
    bool ended = false;
    void ShowModal(QDialog& form) override {
        shown << form.objectName();
        form.exec();
    }
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

struct FakeInstanceGuard final : InstanceGuard {
    bool previous = false, firstCopyAnswers = true, blind = false;
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
    void RaiseWatchFailure() override {
        if (std::exchange(blind, false)) // it cannot see other copies, and says so once
            throw Failure::of(errPathFileAccess);
    }
};

/// Real services a test may take instead of their stand-ins.
enum Real : unsigned { RealWindowing = 2 };

/// The services for one test, in a fresh temporary folder.
struct TestPlatform {
    explicit TestPlatform(unsigned real = 0);

    QString path(const QString& relative) const { return root + u'/' + relative; }
    QString writeFile(const QString& where, const QByteArray& bytes) const; ///< root's, or absolute
    static QByteArray readFile(const QString& path);
    void storeOptions(int autoCopy, int autoSave, const QString& path);
    QString stored(const QString& key);
    /// How the opener and the system tool were started so far ("xdg-open ADDRESS", "sysinfo").
    QString launched() const;
    /// The main window after start-up: loaded, then (unless that ended it) shown and active.
    std::unique_ptr<frmMain> loadedWindow();

    QTemporaryDir temporary{QDir::tempPath() + QStringLiteral("/net cairn-XXXXXX")}; // a blank too
    QString root;
    User dialogs;
    FakeApplicationObject app;
    FakeWindowing windowing;
    std::optional<QtWindowing> realWindowing;
    Windowing& activeWindowing;
    QtDialogs qtDialogs{app.Title(), activeWindowing};
    OpenForms forms;
    IniSettingsStore settings{path(QStringLiteral("config"))};
    QtFileSystem files;
    FakeAddressSource address;
    QtClipboard clipboard;
    QtCommonDialog commonDialog;
    ModulePrinter printer{QStringLiteral(NETCAIRN_PRINT_MODULE)};
    LinuxRegistry registry;
    DetachedLauncher launcher;
    FakeInstanceGuard guard;
    Platform bundle{app,       qtDialogs,    activeWindowing, forms,    settings, files, address,
                    clipboard, commonDialog, printer,         registry, launcher, guard};
};

} // namespace nc
