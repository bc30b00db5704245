#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

namespace nc {

/// The text of an INI file, read in one pass and changed value by value. Everything a change
/// does not touch keeps its bytes: comments, blank lines, unknown keys and sections, a UTF-8
/// byte-order mark, the line ends. Values follow the escaping of QSettings' INI files, so that
/// a file written by either reads the same in both.
class IniText {
public:
    explicit IniText(QByteArray bytes = {});

    struct Value {
        QString text; ///< the value as its writer meant it
        int line;     ///< where it stands, counted from 1
        bool exact;   ///< false where its line is not UTF-8 text, so the text is a guess
    };
    /// The first value of \a key in \a section ("" for keys before any section); none if absent.
    std::optional<Value> value(const QString& section, const QString& key) const;
    /// Whether any section but \a section holds a value.
    bool hasValuesOutside(const QString& section) const;
    /// The first line, counted from 1, that is not UTF-8 text (or holds a zero byte); 0 if none.
    int firstForeignLine() const { return m_firstForeignLine; }
    /// The file's bytes with the (key, value) pairs of \a values set in \a section: a key
    /// present changes the value part of its line, a new key is added in its section, a new
    /// section at the end.
    QByteArray with(const QString& section, const QList<QPair<QString, QString>>& values) const;

private:
    struct Entry {
        int line;
        qsizetype valueStart, valueEnd; ///< the bytes after "=" up to the line end
        bool exact;
    };
    struct Section {
        qsizetype addAt;  ///< where a new key goes: after the last value of its first block
        bool addAfterEnd; ///< that place is the end of a last line that has no line end
        qsizetype values = 0;
    };

    QByteArray m_bytes;
    QByteArray m_lineEnd = QByteArrayLiteral("\n");
    QHash<QPair<QString, QString>, Entry> m_entries;
    QHash<QString, Section> m_sections;
    int m_firstForeignLine = 0;
};

} // namespace nc
