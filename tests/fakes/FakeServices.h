#pragma once

// Stand-ins for the desktop services: each records what it was asked and answers as a test
// tells it to. Files and settings wrap the real backends, so that tests meet real files, and
// can make any single operation fail.

#include "platform/AddressSource.h"
#include "platform/ApplicationObject.h"
#include "platform/Clipboard.h"
#include "platform/CommonDialog.h"
#include "platform/Dialogs.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/InstanceGuard.h"
#include "platform/Launcher.h"
#include "platform/Printer.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"
#include "platform/Windowing.h"

#include <QApplication>
#include <QDialog>
#include <QList>
#include <QMap>
#include <QSet>
#include <QStringList>
#include <QTest>

#include <functional>

namespace nc {

/// Throws the failure numbered \a number when \a name is among \a failing.
inline void failIf(const QSet<QString>& failing, const QString& name, qint32 number) {
    if (failing.contains(name))
        throw Failure::of(number);
}

class FakeApplicationObject final : public ApplicationObject {
public:
    QString title = QStringLiteral("Netcairn"), path, dataPath,
            copyright = QStringLiteral("A 2026");
    bool pathWritable = true;
    qint16 major = 1, minor = 2, revision = 1;

    QString Title() const override { return title; }
    QString Path() const override { return path; }
    bool PathIsUsersToWrite() const override { return pathWritable; }
    QString DataPath() const override { return dataPath; }
    qint16 Major() const override { return major; }
    qint16 Minor() const override { return minor; }
    qint16 Revision() const override { return revision; }
    QString LegalCopyright() const override { return copyright; }
};

class FakeDialogs final : public Dialogs {
public:
    struct Box {
        QString prompt;
        int style;
        QString title;
    };
    QList<Box> boxes;      ///< every message box shown
    QList<int> answers;    ///< answers to give, in order; vbOK/vbNo once they run out
    QList<QString> inputs; ///< answers to input boxes, in order; "" (cancel) afterwards
    QStringList inputPrompts;

    int MsgBox(const QString& prompt, int style, const QString& title) override {
        boxes.append({prompt, style, title});
        if (!answers.isEmpty())
            return answers.takeFirst();
        return (style & 7) == vbYesNo ? vbNo : vbOK;
    }
    QString InputBox(const QString& prompt, const QString& title, const QString&) override {
        inputPrompts << prompt + u'|' + title;
        return inputs.isEmpty() ? QString() : inputs.takeFirst();
    }
    /// The tracking codes of the error reports shown, e.g. "frmMain.Sub.AutoSave".
    QStringList reports() const {
        QStringList codes;
        for (const Box& box : boxes) {
            const qsizetype at = box.prompt.indexOf(QStringLiteral("Tracking Code:   "));
            if (at >= 0)
                codes << box.prompt.mid(at + 17).section(u'\r', 0, 0);
        }
        return codes;
    }
};

class FakeWindowing final : public Windowing {
public:
    QStringList shown;                        ///< object names of the forms shown modally
    std::function<void(QDialog&)> whileShown; ///< runs while a form is up; it is closed after
    bool ended = false;

    void ShowModal(QDialog& form) override {
        shown << form.objectName();
        form.setModal(true);
        form.show();
        form.activateWindow();
        if (!QTest::qWaitFor([&] { return QApplication::activeWindow() == &form; }))
            qWarning("%s did not become the active window", qPrintable(form.objectName()));
        if (whileShown)
            whileShown(form);
        form.close();
    }
    void End() override { ended = true; }
    bool HasEnded() const override { return ended; }
};

/// The real settings store, with writes that can be made to fail.
class FakeSettingsStore final : public SettingsStore {
public:
    explicit FakeSettingsStore(SettingsStore& real) : m_real(real) {}
    QSet<QString> failingKeys; ///< keys whose writes fail
    QStringList writes;        ///< "key=value" for every write, in order

    QString GetSetting(const QString& a, const QString& s, const QString& k) override {
        return m_real.GetSetting(a, s, k);
    }
    void SaveSetting(const QString& a, const QString& s, const QString& k,
                     const QString& v) override {
        failIf(failingKeys, k, errPathFileAccess);
        writes << k + u'=' + v;
        m_real.SaveSetting(a, s, k, v);
    }
    bool IsFirstStart(const QString& a) override { return m_real.IsFirstStart(a); }
    void RecordFirstStart(const QString& a) override { m_real.RecordFirstStart(a); }

private:
    SettingsStore& m_real;
};

/// The real file system, with operations that can be made to fail.
class FakeFileSystem final : public FileSystem {
public:
    explicit FakeFileSystem(FileSystem& real) : m_real(real) {}
    QSet<QString> failing; ///< "Kill", "ReplaceFile", "MkDir"
    QStringList killed;
    QStringList folders; ///< every folder creation asked for

    qint64 FileLen(const QString& path) override { return m_real.FileLen(path); }
    bool MkDir(const QString& path) override {
        folders << path;
        return !failing.contains(QStringLiteral("MkDir")) && m_real.MkDir(path);
    }
    void Kill(const QString& path) override {
        failIf(failing, QStringLiteral("Kill"), errPermissionDenied);
        m_real.Kill(path);
        killed << path;
    }
    void ReplaceFile(const QString& path, const QByteArray& bytes) override {
        failIf(failing, QStringLiteral("ReplaceFile"), errDiskFull);
        m_real.ReplaceFile(path, bytes);
    }
    bool IsOrdinaryFile(const QString& path) override { return m_real.IsOrdinaryFile(path); }

private:
    FileSystem& m_real;
};

class FakeAddressSource final : public AddressSource {
public:
    QString address = QStringLiteral("192.168.1.20");
    bool failing = false;
    int reads = 0;
    QString LocalIP() override {
        ++reads;
        if (failing)
            throw Failure::of(errDeviceIO);
        return address;
    }
};

class FakeClipboard final : public Clipboard {
public:
    QString text;
    bool failing = false;
    void Clear() override { text.clear(); }
    void SetText(const QString& t) override {
        if (failing)
            throw Failure::of(errClipboard);
        text = t;
    }
};

class FakeCommonDialog final : public CommonDialog {
public:
    QList<SaveAsRequest> requests;
    QString answer; ///< the path chosen; empty: the user cancels
    QString ShowSave(const SaveAsRequest& request) override {
        requests << request;
        if (answer.isEmpty())
            throw Failure::of(errCancel);
        return answer;
    }
};

class FakePrinter final : public Printer {
public:
    QStringList calls;
    bool cancel = false;
    void SetFontName(const QString& n) override { calls << QStringLiteral("font ") + n; }
    void SetFontSize(double s) override { calls << QStringLiteral("size %1").arg(s); }
    void SetScaleMode(int m) override { calls << QStringLiteral("scale %1").arg(m); }
    void SetCurrentX(double x) override { calls << QStringLiteral("x %1").arg(x); }
    void SetCurrentY(double y) override { calls << QStringLiteral("y %1").arg(y); }
    void ShowPrinter(const QString& t) override {
        calls << QStringLiteral("dialog ") + t;
        if (cancel)
            throw Failure::of(errCancel);
    }
    void PrintLine(const QString& t) override { calls << QStringLiteral("print ") + t; }
    void EndDoc() override { calls << QStringLiteral("end"); }
};

/// An in-memory registry. A key whose path starts with "!" exists but refuses any access.
class FakeRegistry final : public Registry {
public:
    struct Value {
        quint32 type;
        QByteArray bytes;
    };
    QMap<QByteArray, QMap<QByteArray, Value>> keys; ///< key path -> value name -> value
    QList<quint32> accessAsked;
    QList<HKey> closed;
    bool failOnQuery = false; ///< the registry call itself fails (not a status)

    long RegOpenKeyExA(HKey, const QByteArray& subKey, quint32, quint32 sam,
                       HKey* result) override {
        accessAsked << sam;
        *result = 0;
        const qsizetype index = keys.keys().indexOf(subKey);
        if (index < 0)
            return ERROR_FILE_NOT_FOUND;
        if (sam & ~(KEY_READ | 0x300u))
            return ERROR_ACCESS_DENIED;
        *result = static_cast<HKey>(index + 100);
        return ERROR_SUCCESS;
    }
    long RegQueryValueExA(HKey key, const QByteArray& name, quint32* type, char* data,
                          quint32* size) override {
        if (failOnQuery)
            throw Failure::of(errInvalidCall);
        const auto values = keys.values().value(static_cast<int>(key) - 100);
        if (!values.contains(name))
            return ERROR_FILE_NOT_FOUND;
        const Value value = values.value(name);
        *type = value.type;
        if (value.bytes.size() > qsizetype(*size))
            return ERROR_MORE_DATA;
        std::copy(value.bytes.begin(), value.bytes.end(), data);
        *size = static_cast<quint32>(value.bytes.size());
        return ERROR_SUCCESS;
    }
    long RegCloseKey(HKey key) override {
        closed << key;
        return ERROR_SUCCESS;
    }
};

class FakeLauncher final : public Launcher {
public:
    QStringList commands; ///< "style|command line"
    bool failing = false;
    void Shell(const QString& commandLine, int style) override {
        if (failing)
            throw Failure::of(errFileNotFound);
        commands << QString::number(style) + u'|' + commandLine;
    }
};

class FakeInstanceGuard final : public InstanceGuard {
public:
    bool previous = false;
    bool firstCopyAnswers = true;
    QStringList activated;
    std::function<bool(const QString&)> listener;

    bool PrevInstance() override { return previous; }
    void ActivateFirstCopy(const QString& title) override {
        if (!firstCopyAnswers)
            throw Failure::of(errInvalidCall);
        activated << title;
    }
    void ListenForActivation(std::function<bool(const QString&)> activate) override {
        listener = std::move(activate);
    }
};

} // namespace nc
