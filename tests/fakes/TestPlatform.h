#pragma once

#include "FakeServices.h"
#include "platform/OpenForms.h"
#include "platform/Platform.h"
#include "platform/desktop/IniSettingsStore.h"
#include "platform/desktop/QtFileSystem.h"

#include <QTemporaryDir>

namespace nc {

class frmMain;

/// A full set of services for one test: fakes for everything that blocks or reaches outside,
/// and the real settings store and file system inside a fresh temporary folder.
struct TestPlatform {
    TestPlatform();

    /// A path inside the temporary folder.
    QString path(const QString& relative) const { return home.filePath(relative); }
    /// Writes \a bytes to the file at \a relative, creating its folders.
    QString writeFile(const QString& relative, const QByteArray& bytes) const;
    /// The whole content of a file; empty when it does not exist.
    static QByteArray readFile(const QString& path);
    /// Stores the three options as Apply would, and marks the first start as done.
    void storeOptions(int autoCopy, int autoSave, const QString& path);
    /// The stored text of an option.
    QString stored(const QString& key);

    QTemporaryDir home;
    FakeApplicationObject app;
    FakeDialogs dialogs;
    FakeWindowing windowing;
    OpenForms forms;
    IniSettingsStore realSettings{home.filePath(QStringLiteral("config"))};
    FakeSettingsStore settings{realSettings};
    QtFileSystem realFiles;
    FakeFileSystem files{realFiles};
    FakeAddressSource winsock;
    FakeClipboard clipboard;
    FakeCommonDialog commonDialog;
    FakePrinter printer;
    FakeRegistry registry;
    FakeLauncher launcher;
    FakeInstanceGuard instances;
    Platform bundle{app,       dialogs,      windowing, forms,    settings, files,    winsock,
                    clipboard, commonDialog, printer,   registry, launcher, instances};
};

/// Makes a folder refuse new and renamed files while it lives, for the administrator too
/// (chmod alone does not stop root). ok() is false where the system offers no way.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(QString folder);
    ~ReadOnlyFolder();
    bool ok() const { return m_ok; }

private:
    QString m_folder;
    bool m_ok = false;
    bool m_immutable = false;
};

/// A main window on \a platform, loaded as at start-up and shown (offscreen).
std::unique_ptr<frmMain> LoadedMainWindow(TestPlatform& platform);

} // namespace nc
