#include "IniText.h"

#include <QStringDecoder>

#include <algorithm>

namespace nc {

namespace {

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
    out.reserve(text.size());
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
    out.reserve(text.size());
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

/// A value as it stands: what QSettings meant where QSettings wrote it, else the text itself
/// (an unquoted comma, say, which QSettings would have read as a list).
QString asItStands(const QString& raw) {
    const QString meant = iniUnescape(raw);
    return iniEscape(meant) == raw ? meant : raw;
}

bool isPlainNameCharacter(QChar c) {
    return (c.unicode() < 128 && c.isLetterOrNumber()) || c == u'_' || c == u'-' || c == u'.';
}

/// A section or key name as QSettings writes it: other characters than letters, digits and
/// "_-." as "%XX", or "%UXXXX" beyond Latin-1.
QByteArray escapedName(const QString& name) {
    QString out;
    for (QChar c : name) {
        const uint code = c.unicode();
        if (isPlainNameCharacter(c))
            out += c;
        else if (code <= 0xff)
            out += u'%' + QString::number(code, 16).rightJustified(2, u'0').toUpper();
        else
            out +=
                QStringLiteral("%U") + QString::number(code, 16).rightJustified(4, u'0').toUpper();
    }
    return out.toUtf8();
}

/// The name that \a raw stands for, "%XX" and "%UXXXX" read as QSettings reads them.
QString unescapedName(const QString& raw) {
    if (!raw.contains(u'%'))
        return raw;
    QString out;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const bool wide = i + 1 < raw.size() && raw[i + 1] == u'U';
        const qsizetype digits = wide ? 4 : 2, from = i + (wide ? 2 : 1);
        bool hex = raw[i] == u'%' && from + digits <= raw.size();
        for (qsizetype j = from; hex && j < from + digits; ++j)
            hex = isHexDigit(raw[j]);
        if (hex) {
            out += QChar(char16_t(raw.mid(from, digits).toUInt(nullptr, 16)));
            i = from + digits - 1;
        } else {
            out += raw[i];
        }
    }
    return out;
}

/// QSettings keeps the keys that stand before any section in the section "General".
const QString kTopLevel = QStringLiteral("General");

} // namespace

IniText::IniText(QByteArray bytes) : m_bytes(std::move(bytes)) {
    const qsizetype size = m_bytes.size();
    QString section; // "" until the first header: the keys before any section
    bool firstBlock = true;
    bool lineEndSeen = false;
    int line = 0;
    for (qsizetype start = m_bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0; start < size;) {
        ++line;
        const qsizetype newline = m_bytes.indexOf('\n', start);
        const qsizetype next = newline < 0 ? size : newline + 1;
        qsizetype end = newline < 0 ? size : newline;
        if (end > start && m_bytes[end - 1] == '\r')
            --end;
        if (!lineEndSeen && newline >= 0) {
            lineEndSeen = true;
            m_lineEnd = end < newline ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
        }
        const QByteArrayView raw(m_bytes.constData() + start, end - start);
        const qsizetype lineStart = start;
        start = next;

        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString text = QString(utf8(raw)).trimmed();
        const bool exact = !utf8.hasError() && !raw.contains('\0');
        if (!exact && !m_firstForeignLine)
            m_firstForeignLine = line;
        if (text.isEmpty() || text.startsWith(u';'))
            continue;
        if (text.startsWith(u'[') && text.endsWith(u']')) {
            const QString inner = text.mid(1, text.size() - 2);
            section = inner == kTopLevel ? QString() : unescapedName(inner);
            firstBlock = !m_sections.contains(section);
            if (firstBlock)
                m_sections.insert(section, Section{next, newline < 0});
            continue;
        }
        const qsizetype equals = text.indexOf(u'=');
        const QString key = equals > 0 ? unescapedName(text.left(equals).trimmed()) : QString();
        if (key.isEmpty())
            continue;
        auto known = m_sections.find(section);
        if (known == m_sections.end()) // the keys before any section have no header
            known = m_sections.insert(section, Section{next, newline < 0});
        if (firstBlock) {
            known->addAt = next;
            known->addAfterEnd = newline < 0;
        }
        ++known->values;
        const QPair<QString, QString> name{section, key};
        if (!m_entries.contains(name)) // the first of twins counts, as it always has
            m_entries.insert(name, Entry{line, lineStart + raw.indexOf('=') + 1, end, exact});
    }
}

std::optional<IniText::Value> IniText::value(const QString& section, const QString& key) const {
    const auto found = m_entries.constFind({section, key});
    if (found == m_entries.cend())
        return std::nullopt;
    const Entry& e = *found;
    const QString raw =
        QString::fromUtf8(m_bytes.constData() + e.valueStart, e.valueEnd - e.valueStart);
    return Value{asItStands(raw.trimmed()), e.line, e.exact};
}

bool IniText::hasValuesOutside(const QString& section) const {
    for (auto it = m_sections.cbegin(); it != m_sections.cend(); ++it) {
        if (it.key() != section && it->values > 0)
            return true;
    }
    return false;
}

QByteArray IniText::with(const QString& section,
                         const QList<QPair<QString, QString>>& values) const {
    struct Edit {
        qsizetype at, removed;
        QByteArray text;
    };
    QList<Edit> edits;
    QList<QByteArray> added; // lines of keys the section does not hold yet
    QHash<QString, qsizetype> lastOf;
    for (qsizetype i = 0; i < values.size(); ++i)
        lastOf[values[i].first] = i;
    for (qsizetype i = 0; i < values.size(); ++i) {
        const auto& [key, value] = values[i];
        if (lastOf.value(key) != i)
            continue; // a key given twice takes its last value
        const QByteArray escaped = iniEscape(value).toUtf8();
        const auto found = m_entries.constFind({section, key});
        if (found == m_entries.cend()) {
            added << escapedName(key) + '=' + escaped;
            continue;
        }
        qsizetype from = found->valueStart; // the blanks after "=" stay as the user set them
        while (from < found->valueEnd && (m_bytes[from] == ' ' || m_bytes[from] == '\t'))
            ++from;
        edits.append({from, found->valueEnd - from, escaped});
    }
    const auto known = m_sections.constFind(section);
    if (!added.isEmpty() && known != m_sections.cend()) {
        const QByteArray lines = added.join(m_lineEnd);
        edits.append({known->addAt, 0, known->addAfterEnd ? m_lineEnd + lines : lines + m_lineEnd});
    }
    std::stable_sort(edits.begin(), edits.end(),
                     [](const Edit& a, const Edit& b) { return a.at < b.at; });

    QByteArray out;
    out.reserve(m_bytes.size() + 64 * values.size());
    qsizetype copied = 0;
    for (const Edit& e : edits) {
        out.append(m_bytes.constData() + copied, e.at - copied);
        out += e.text;
        copied = e.at + e.removed;
    }
    out.append(m_bytes.constData() + copied, m_bytes.size() - copied);

    if (!added.isEmpty() && known == m_sections.cend()) {
        const bool empty = out.size() == (out.startsWith("\xEF\xBB\xBF") ? 3 : 0);
        if (!empty && !out.endsWith('\n'))
            out += m_lineEnd;
        if (!empty && !out.endsWith("\n\n") && !out.endsWith("\n\r\n"))
            out += m_lineEnd; // a blank line between sections, as QSettings writes them
        out += '[' + escapedName(section.isEmpty() ? kTopLevel : section) + ']' + m_lineEnd +
               added.join(m_lineEnd) + m_lineEnd;
    }
    return out;
}

} // namespace nc
