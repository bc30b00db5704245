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
    struct Line {
        qsizetype start, end, next; ///< end: where the line end ("\n" or "\r\n") begins
    };
    /// What a line is, and its name where it is a header or a value: as its bytes stand where
    /// they hold no escape (plain), else only through nameOf().
    struct Shape {
        enum { Other, Header, Value } kind = Other;
        QByteArrayView name;
        bool plain = true;
        qsizetype equals = -1; ///< a value's "=" in the file
    };
    Line lineAt(qsizetype start) const;
    /// The text of \a line, without a byte-order mark that begins it.
    QByteArrayView textOf(const Line& line) const;
    Shape shapeOf(const Line& line) const;
    /// The name that \a shape finds in \a line, escapes read.
    QString nameOf(const Line& line, const Shape& shape) const;
    /// Whether the name that \a shape finds in \a line is \a wanted, given also as UTF-8.
    bool named(const Line& line, const Shape& shape, const QString& wanted,
               const QByteArray& wantedUtf8) const;
    /// A block of a section: the places in m_marks of its header (-1 for the values before
    /// any header) and of the first mark after its values.
    struct Block {
        qsizetype header, end;
    };
    /// The blocks of \a section in file order.
    const QList<Block>& blocksOf(const QString& section) const;
    /// The place in m_marks of the first value of \a key in \a section; -1 if there is none.
    qsizetype find(const QString& section, const QString& key) const;

    QByteArray m_bytes;
    qsizetype m_body = 0; ///< where the text begins, after a byte-order mark
    QByteArray m_lineEnd = QByteArrayLiteral("\n");
    /// Where each header (as -1 - start) and each value line (as start) begins, in file order:
    /// a few bytes a line, whatever the file holds.
    QList<qsizetype> m_marks;
    qsizetype m_values = 0;
    mutable QHash<QString, QList<Block>> m_blocks;             ///< blocksOf()'s earlier answers
    mutable QHash<QPair<QString, QString>, qsizetype> m_found; ///< find()'s earlier answers
    int m_firstForeignLine = 0;
};

} // namespace nc
