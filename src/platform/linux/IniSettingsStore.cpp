#include "IniSettingsStore.h"

#include "platform/Failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSettings>
#include <QStringDecoder>

#include <sys/stat.h>
#include <tuple>

namespace nc {

namespace {

const QString kMarkerSection = QStringLiteral("Setup");
const QString kMarkerKey = QStringLiteral("DefaultsWritten");

/// A section or key name that QSettings writes back as it is.
bool isPlainName(const QString& name) {
    if (name.isEmpty())
        return false;
    for (QChar c : name) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'_' && c != u'-' && c != u'.')
            return false;
    }
    return true;
}

bool isHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

/// How QSettings writes a text value: "@String(...)" around one that holds a zero character, "@"
/// doubled at the start, backslash escapes, and quotes around a value that holds ";,=" or
/// begins or ends with a blank.
QString iniEscape(const QString& value) {
    static const QString escaped = QStringLiteral("\a\b\f\n\r\t\v");
    static const QString letters = QStringLiteral("abfnrtv");
    const QString text = value.contains(QChar(0)) ? QStringLiteral("@String(") + value + u')'
                         : value.startsWith(u'@') ? u'@' + value
                                                  : value;
    QString out;
    bool quotes = false;
    bool hexNext = false; // after a numeric escape, a hex digit is escaped too
    for (QChar c : text) {
        quotes = quotes || c == u';' || c == u',' || c == u'=';
        if (hexNext && isHexDigit(c)) {
            out += QStringLiteral("\\x") + QString::number(c.unicode(), 16);
            continue;
        }
        hexNext = false;
        if (c == u'\0') {
            out += QStringLiteral("\\0");
            hexNext = true;
        } else if (const qsizetype at = escaped.indexOf(c); at >= 0) {
            out += u'\\' + letters[at];
        } else if (c == u'"' || c == u'\\') {
            out += u'\\' + c;
        } else if (c.unicode() <= 0x1f) {
            out += QStringLiteral("\\x") + QString::number(c.unicode(), 16);
            hexNext = true;
        } else {
            out += c;
        }
    }
    if (quotes || out.startsWith(u' ') || out.endsWith(u' '))
        out = u'"' + out + u'"';
    return out;
}

/// The text a value written by QSettings stands for (see iniEscape).
QString iniUnescape(const QString& raw) {
    static const QString escaped = QStringLiteral("\a\b\f\n\r\t\v");
    static const QString letters = QStringLiteral("abfnrtv");
    const bool quoted = raw.size() >= 2 && raw.startsWith(u'"') && raw.endsWith(u'"');
    const QString text = quoted ? raw.mid(1, raw.size() - 2) : raw;
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar c = text[++i];
        if (c == u'x') {
            qsizetype end = i + 1;
            while (end < text.size() && isHexDigit(text[end]))
                ++end;
            out += QChar(char16_t(text.mid(i + 1, end - i - 1).toUInt(nullptr, 16)));
            i = end - 1;
        } else if (c == u'0') {
            out += QChar(u'\0');
        } else if (const qsizetype at = letters.indexOf(c); at >= 0) {
            out += escaped[at];
        } else {
            out += c;
        }
    }
    if (out.startsWith(QLatin1String("@String(")) && out.endsWith(u')'))
        return out.mid(8, out.size() - 9);
    return out.startsWith(QLatin1String("@@")) ? out.mid(1) : out;
}

/// A value as it stands: what QSettings meant where QSettings wrote it, else the text itself.
QString asItStands(const QString& raw) {
    const QString meant = iniUnescape(raw);
    return iniEscape(meant) == raw ? meant : raw;
}

struct Entry {
    QString section, key, value;
    int line;
    bool exact; ///< false where the line's bytes are not UTF-8 text
};

/// An INI file as Netcairn reads it, and the first line a rewrite would lose or change.
struct IniDocument {
    QList<Entry> entries;
    int badLine = 0; ///< 0: every line survives a rewrite through QSettings
    QString badText;

    const Entry* find(const QString& section, const QString& key) const {
        for (const Entry& e : entries) {
            if (e.section == section && e.key == key)
                return &e;
        }
        return nullptr;
    }
};

IniDocument parse(const QByteArray& bytes) {
    IniDocument doc;
    QString section;
    const QList<QByteArray> lines = bytes.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString text = QString(utf8(lines[i])).trimmed();
        const bool exact = !utf8.hasError() && !text.contains(QChar(0));
        const auto bad = [&] {
            if (!doc.badLine) {
                doc.badLine = i + 1;
                doc.badText = text;
            }
        };
        if (!exact)
            bad();
        if (text.isEmpty())
            continue;
        if (text.startsWith(u'[') && text.endsWith(u']')) {
            section = text.mid(1, text.size() - 2);
            if (!isPlainName(section))
                bad();
            if (section == QLatin1String("General"))
                section.clear(); // where QSettings keeps keys that stand before any section
            continue;
        }
        const qsizetype equals = text.indexOf(u'=');
        const QString key = text.left(equals).trimmed();
        if (equals <= 0 || !isPlainName(key) || doc.find(section, key)) {
            bad();
            continue;
        }
        doc.entries.append(
            {section, key, asItStands(text.mid(equals + 1).trimmed()), i + 1, exact});
    }
    return doc;
}

QString settingsKey(const QString& section, const QString& key) {
    return section.isEmpty() ? key : section + u'/' + key;
}

Failure fileFailure(const QString& path, const QString& what) {
    return Failure(errPathFileAccess,
                   classicDescription(errPathFileAccess) + QStringLiteral(": the settings file ") +
                       QDir::toNativeSeparators(path) + u' ' + what,
                   QStringLiteral("Netcairn"));
}

QByteArray readAll(const QString& path) {
    // QFile::exists() can miss a file that another copy is renaming into place; the opening
    // cannot.
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        return file.readAll();
    if (!QFileInfo::exists(path))
        return {};
    throw Failure::of(errPermissionDenied);
}

/// What tells a changed file: its inode (a rename puts a new one in place), size and times.
using Stamp = std::tuple<bool, ino_t, off_t, long, long, long, long>;

Stamp stampOf(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {true,
            info.st_ino,
            info.st_size,
            info.st_mtim.tv_sec,
            info.st_mtim.tv_nsec,
            info.st_ctim.tv_sec,
            info.st_ctim.tv_nsec};
}

} // namespace

struct IniSettingsStore::Loaded {
    QString path;
    Stamp stamp;
    QByteArray bytes;
    IniDocument doc;
};

IniSettingsStore::IniSettingsStore(QString configHome) : m_configHome(std::move(configHome)) {}

IniSettingsStore::~IniSettingsStore() = default;

const IniSettingsStore::Loaded& IniSettingsStore::load(const QString& path) {
    // Every option is read afresh from the file; a start-up reads them a dozen times, and the
    // file is parsed only when another copy or the user has changed it since.
    const Stamp stamp = stampOf(path);
    if (!m_loaded || m_loaded->path != path || m_loaded->stamp != stamp) {
        const QByteArray bytes = std::get<0>(stamp) ? readAll(path) : QByteArray();
        m_loaded.reset(new Loaded{path, stamp, bytes, parse(bytes)});
    }
    return *m_loaded;
}

QString IniSettingsStore::fileFor(const QString& app) const {
    return m_configHome + u'/' + app + u'/' + app + QStringLiteral(".ini");
}

QString IniSettingsStore::GetSetting(const QString& app, const QString& section,
                                     const QString& key) {
    const Loaded& file = load(fileFor(app));
    const Entry* entry = file.doc.find(section, key);
    if (!entry)
        return {};
    if (entry->exact)
        return entry->value;
    // A value Netcairn cannot hold as it stands is not used; that is said once per content of
    // the file, not at every reading.
    if (m_reportedUnreadable != file.bytes) {
        m_reportedUnreadable = file.bytes;
        throw fileFailure(fileFor(app), QStringLiteral("holds text that is not UTF-8 in line %1; "
                                                       "Netcairn cannot read it exactly. Repair "
                                                       "that line.")
                                            .arg(entry->line));
    }
    return {};
}

void IniSettingsStore::SaveSetting(const QString& app, const QString& section, const QString& key,
                                   const QString& value) {
    const QString path = fileFor(app);
    const IniDocument& doc = load(path).doc;
    if (doc.badLine) {
        throw fileFailure(path, QStringLiteral("cannot be rewritten without losing or changing "
                                               "line %1 (%2); Netcairn has left it as it is.")
                                    .arg(doc.badLine)
                                    .arg(doc.badText));
    }
    // QSettings writes what Netcairn read, value for value, so that a value QSettings itself
    // would read otherwise (an unquoted comma, say) keeps its meaning.
    QSettings settings(path, QSettings::IniFormat);
    settings.clear();
    for (const Entry& e : doc.entries)
        settings.setValue(settingsKey(e.section, e.key), e.value);
    settings.setValue(settingsKey(section, key), value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw fileFailure(path, QStringLiteral("could not be written."));
}

bool IniSettingsStore::IsFirstStart(const QString& app) {
    const IniDocument& doc = load(fileFor(app)).doc;
    if (doc.find(kMarkerSection, kMarkerKey))
        return false;
    if (doc.entries.isEmpty())
        return true;
    // Options written by hand or kept from a backup are the user's: no defaults over them. The
    // marker is added where the file can take it; its absence alone changes nothing.
    try {
        RecordFirstStart(app);
    } catch (const Failure&) {
    }
    return false;
}

void IniSettingsStore::RecordFirstStart(const QString& app) {
    SaveSetting(app, kMarkerSection, kMarkerKey, QStringLiteral("1"));
}

} // namespace nc
