#include "IniText.h"

#include <QHash>

#include <algorithm>

namespace nc {

namespace {

bool isHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

quint64 hexValue(QChar digit) {
    const char16_t c = digit.unicode();
    return c <= u'9' ? c - u'0' : (c | 0x20) - u'a' + 10;
}

/// Appends "\x" and \a code in hex, as QSettings writes a control character.
void appendHexEscape(QString& out, char16_t code) {
    out += QLatin1String("\\x");
    bool leading = true;
    for (int shift = 12; shift >= 0; shift -= 4) {
        const int digit = (code >> shift) & 0xf;
        leading = leading && digit == 0 && shift > 0;
        if (!leading)
            out += QLatin1Char("0123456789abcdef"[digit]);
    }
}

/// How QSettings writes a text value: "@String(...)" around one that holds a zero character, "@"
/// doubled at the start, backslash escapes, and quotes around a value that holds ";,=" or
/// begins or ends with a blank.
QString iniEscape(const QString& value) {
    const QString text = value.contains(QChar(0)) ? QStringLiteral("@String(") + value + u')'
                         : value.startsWith(u'@') ? u'@' + value
                                                  : value;
    QString out;
    out.reserve(text.size() + 2);
    bool quotes = false;
    bool hexNext = false; // after a numeric escape, a hex digit is escaped too
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        quotes = quotes || code == u';' || code == u',' || code == u'=';
        if (hexNext && isHexDigit(c)) {
            appendHexEscape(out, code);
            continue;
        }
        hexNext = false;
        const char* letter = code == u'\a'   ? "a"
                             : code == u'\b' ? "b"
                             : code == u'\f' ? "f"
                             : code == u'\n' ? "n"
                             : code == u'\r' ? "r"
                             : code == u'\t' ? "t"
                             : code == u'\v' ? "v"
                             : code == 0     ? "0"
                                             : nullptr;
        if (letter) {
            out += u'\\';
            out += QLatin1Char(*letter);
            hexNext = code == 0;
        } else if (code == u'"' || code == u'\\') {
            out += u'\\';
            out += c;
        } else if (code <= 0x1f) {
            appendHexEscape(out, code);
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
    const bool quoted = raw.size() >= 2 && raw.startsWith(u'"') && raw.endsWith(u'"');
    const QStringView text = quoted ? QStringView(raw).mid(1, raw.size() - 2) : QStringView(raw);
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char16_t c = text[++i].unicode();
        if (c == u'x') {
            // Every hex digit that follows counts; a number past 32 bits stands for zero.
            quint64 code = 0;
            for (; i + 1 < text.size() && isHexDigit(text[i + 1]); ++i) {
                if (code <= 0xffffffffu)
                    code = code * 16 + hexValue(text[i + 1]);
            }
            out += QChar(char16_t(code <= 0xffffffffu ? code : 0));
            continue;
        }
        switch (c) {
        case u'0':
            out += QChar(u'\0');
            break;
        case u'a':
            out += u'\a';
            break;
        case u'b':
            out += u'\b';
            break;
        case u'f':
            out += u'\f';
            break;
        case u'n':
            out += u'\n';
            break;
        case u'r':
            out += u'\r';
            break;
        case u't':
            out += u'\t';
            break;
        case u'v':
            out += u'\v';
            break;
        default:
            out += QChar(c);
            break;
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

/// The length of the blank that \a bytes begin with, as QString::trimmed() knows blanks: ASCII
/// ones, and U+0085, U+00A0, U+1680, U+2000 to U+200A, U+2028, U+2029, U+202F, U+205F and
/// U+3000 in UTF-8; 0 where they begin with none.
qsizetype blankAt(QByteArrayView bytes) {
    if (bytes.isEmpty() || (uchar(bytes[0]) > ' ' && uchar(bytes[0]) < 0x80))
        return 0; // nearly every time
    const auto byte = [&](qsizetype i) { return i < bytes.size() ? uchar(bytes[i]) : 0u; };
    const uint a = byte(0), b = byte(1), c = byte(2);
    if (a == ' ' || (a >= '\t' && a <= '\r'))
        return 1;
    if (a == 0xc2 && (b == 0x85 || b == 0xa0))
        return 2;
    const bool three = (a == 0xe1 && b == 0x9a && c == 0x80) ||
                       (a == 0xe2 && b == 0x80 &&
                        (c <= 0x8a || c == 0xa8 || c == 0xa9 || c == 0xaf) && c >= 0x80) ||
                       (a == 0xe2 && b == 0x81 && c == 0x9f) ||
                       (a == 0xe3 && b == 0x80 && c == 0x80);
    return three ? 3 : 0;
}

/// \a bytes without the blanks at either end, as QString::trimmed() would leave their text.
QByteArrayView withoutBlanks(QByteArrayView bytes) {
    while (const qsizetype n = blankAt(bytes))
        bytes = bytes.sliced(n);
    for (bool more = true; more && !bytes.isEmpty();) {
        if (uchar(bytes.back()) > ' ' && uchar(bytes.back()) < 0x80)
            break; // nearly every time
        more = false;
        for (qsizetype n = 1; n <= 3 && n <= bytes.size() && !more; ++n) {
            if (blankAt(bytes.last(n)) == n) {
                bytes.chop(n);
                more = true;
            }
        }
    }
    return bytes;
}

/// QSettings keeps the keys that stand before any section in the section "General".
const QString kTopLevel = QStringLiteral("General");

} // namespace

IniText::IniText(QByteArray bytes)
    : m_bytes(std::move(bytes)), m_body(m_bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0) {
    // Nearly every file is text throughout, which one look at the whole tells.
    bool lookLineByLine = m_bytes.contains('\0') || !m_bytes.isValidUtf8();
    int number = 0;
    for (Line line{0, 0, m_body}; line.next < m_bytes.size();) {
        line = lineAt(line.next);
        ++number;
        if (number == 1 && line.next > line.start && m_bytes[line.next - 1] == '\n')
            m_lineEnd = line.next - line.end == 2 ? QByteArrayLiteral("\r\n") : "\n";
        const QByteArrayView raw(m_bytes.constData() + line.start, line.end - line.start);
        if (lookLineByLine && (raw.contains('\0') || !raw.isValidUtf8())) {
            m_firstForeignLine = number;
            lookLineByLine = false; // only the first one is named
        }
        switch (shapeOf(line).kind) {
        case Shape::Header:
            m_marks.append(-1 - line.start);
            break;
        case Shape::Value:
            m_marks.append(line.start);
            ++m_values;
            break;
        case Shape::Other:
            break;
        }
    }
}

IniText::Line IniText::lineAt(qsizetype start) const {
    const qsizetype newline = m_bytes.indexOf('\n', start);
    Line line{start, newline < 0 ? m_bytes.size() : newline,
              newline < 0 ? m_bytes.size() : newline + 1};
    if (line.end > start && m_bytes[line.end - 1] == '\r')
        --line.end;
    return line;
}

QByteArrayView IniText::textOf(const Line& line) const {
    // Each line has always been read as text of its own, and a byte-order mark that begins
    // such a text is no part of it.
    QByteArrayView text(m_bytes.constData() + line.start, line.end - line.start);
    return text.startsWith("\xEF\xBB\xBF") ? text.sliced(3) : text;
}

IniText::Shape IniText::shapeOf(const Line& line) const {
    const QByteArrayView text = withoutBlanks(textOf(line));
    Shape shape;
    if (text.isEmpty() || text.front() == ';')
        return shape;
    if (text.front() == '[' && text.back() == ']') {
        shape.kind = Shape::Header;
        shape.name = text.sliced(1, text.size() - 2); // the blanks inside are the name's
        shape.plain = !shape.name.contains('%') && shape.name != "General";
        return shape;
    }
    const qsizetype equals = text.indexOf('=');
    if (equals <= 0)
        return shape;
    shape.kind = Shape::Value;
    shape.name = withoutBlanks(text.first(equals));
    shape.plain = !shape.name.contains('%');
    shape.equals = text.data() + equals - m_bytes.constData();
    return shape;
}

QString IniText::nameOf(const Line& line, const Shape& shape) const {
    // Decoding drops a byte-order mark that begins the line, as textOf() does.
    const QString text =
        QString::fromUtf8(m_bytes.constData() + line.start, line.end - line.start).trimmed();
    if (shape.kind == Shape::Header) {
        const QString inner = text.mid(1, text.size() - 2);
        return inner == kTopLevel ? QString() : unescapedName(inner);
    }
    return unescapedName(text.left(text.indexOf(u'=')).trimmed());
}

bool IniText::named(const Line& line, const Shape& shape, const QString& wanted,
                    const QByteArray& wantedUtf8) const {
    // Bytes that are not UTF-8 read as U+FFFD; only a name holding that needs decoding.
    if (shape.plain && !wanted.contains(QChar::ReplacementCharacter))
        return shape.name == wantedUtf8;
    return nameOf(line, shape) == wanted;
}

const QList<IniText::Block>& IniText::blocksOf(const QString& section) const {
    const auto known = m_blocks.constFind(section);
    if (known != m_blocks.cend())
        return *known;
    QList<Block> blocks;
    const QByteArray sectionUtf8 = section.toUtf8();
    bool inSection = section.isEmpty(); // the values before any header
    qsizetype from = -1;
    for (qsizetype i = 0; i <= m_marks.size(); ++i) {
        if (i < m_marks.size() && m_marks[i] >= 0)
            continue;
        if (inSection && (from >= 0 || i > 0)) // a top-level block counts where it holds values
            blocks.append({from, i});
        if (i < m_marks.size()) {
            const Line line = lineAt(-1 - m_marks[i]);
            inSection = named(line, shapeOf(line), section, sectionUtf8);
            from = i;
        }
    }
    return *m_blocks.insert(section, blocks);
}

qsizetype IniText::find(const QString& section, const QString& key) const {
    const auto known = m_found.constFind({section, key});
    if (known != m_found.cend())
        return *known;
    const QByteArray keyUtf8 = key.toUtf8();
    qsizetype found = -1;
    const QList<Block> blocks = blocksOf(section); // a copy: the cache may grow meanwhile
    for (const Block& block : blocks) {
        for (qsizetype i = block.header + 1; i < block.end && found < 0; ++i) {
            const Line line = lineAt(m_marks[i]);
            if (named(line, shapeOf(line), key, keyUtf8))
                found = i; // the first of twins counts, as it always has
        }
    }
    m_found.insert({section, key}, found);
    return found;
}

std::optional<IniText::Value> IniText::value(const QString& section, const QString& key) const {
    const qsizetype mark = find(section, key);
    if (mark < 0)
        return std::nullopt;
    const Line line = lineAt(m_marks[mark]);
    const Shape shape = shapeOf(line);
    const QByteArrayView raw(m_bytes.constData() + line.start, line.end - line.start);
    const QString stored =
        QString::fromUtf8(m_bytes.constData() + shape.equals + 1, line.end - shape.equals - 1);
    const int number = 1 + int(std::count(m_bytes.cbegin(), m_bytes.cbegin() + line.start, '\n'));
    return Value{asItStands(stored.trimmed()), number, !raw.contains('\0') && raw.isValidUtf8()};
}

bool IniText::hasValuesOutside(const QString& section) const {
    qsizetype inside = 0;
    for (const Block& block : blocksOf(section))
        inside += block.end - block.header - 1;
    return m_values > inside;
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
        const qsizetype mark = find(section, key);
        if (mark < 0) {
            added << escapedName(key) + '=' + escaped;
            continue;
        }
        const Line line = lineAt(m_marks[mark]);
        qsizetype from = shapeOf(line).equals + 1; // the blanks after "=" stay as they are
        while (from < line.end && (m_bytes[from] == ' ' || m_bytes[from] == '\t'))
            ++from;
        edits.append({from, line.end - from, escaped});
    }
    // A new key goes after the last value of the section's first block, or after its header.
    std::optional<Line> after;
    if (const QList<Block> blocks = blocksOf(section); !added.isEmpty() && !blocks.isEmpty()) {
        const Block& first = blocks.first();
        const qsizetype last = first.end - 1;
        after = lineAt(m_marks[last] < 0 ? -1 - m_marks[last] : m_marks[last]);
    }
    if (after) {
        const QByteArray lines = added.join(m_lineEnd);
        // At the end of a file whose last line has no line end, the line end goes first.
        const bool open =
            after->next == m_bytes.size() && m_bytes.size() > m_body && !m_bytes.endsWith('\n');
        edits.append({after->next, 0, open ? m_lineEnd + lines : lines + m_lineEnd});
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

    if (!added.isEmpty() && !after) {
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
