#pragma once
// A small in-memory table of text cells: named fields (columns), rows and a
// current-row cursor. Rows and fields are numbered from 1 in the interface.
// Every operation is total: a missing field or row gives an empty text or
// false, never an error for the user.
//
// Walking a table:  t.GoFirst(); do { ...GetData... } while (t.GoNext());
// or, as the callers do it, body then GoNext until EndOfFile; a walk of an
// empty table thus runs its body once with empty cells.
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace korvimo {

class TMlb2 {
public:
    TMlb2() = default; // Create: no fields, no rows, no current row

    // Appends a field and an empty cell in every row; false (nothing changes)
    // for an empty or blank name or a name that exists in any case.
    bool AddField(const QString& name);
    // Appends a row of empty cells and makes it current.
    void AddRow();
    bool IsEmpty() const { return m_rows.isEmpty(); }
    int RowCount() const { return int(m_rows.size()); }
    int FieldCount() const { return int(m_fields.size()); }
    const QStringList& Fields() const { return m_fields; }
    const QStringList& FieldTypes() const { return m_types; }
    // 1-based; 0 when there is none.
    int CurrentRow() const { return m_current + 1; }

    // Row 1 current; false (no current row, both flags true) on an empty table.
    bool GoFirst();
    // The next row; false, staying put with EndOfFile set, at the last row.
    bool GoNext();

    // The cell of the current row in the named field (any case); empty when
    // there is no such field or no current row.
    QString GetData(const QString& field) const;
    bool SetData(const QString& field, const QString& value);

    // Replaces the table by a file's content; the kind follows the last three
    // characters of the name: "TXT" is the semicolon-separated text table
    // (below). The other kinds of the store are not supported and give
    // false, as does a file that cannot be opened; the table is then left
    // unchanged.
    //
    // Text table: the header line gives the fields, every further line a
    // row. Tokens end at CSVSeparator or CR; outside quotes blanks and LF are
    // dropped wherever they stand; QuoteSeparator opens a quoted part in
    // which everything is kept and a doubled quote is one quote. A token cut
    // off by the end of the file without a CR is not stored. Bytes are
    // Windows-1252 characters.
    bool LoadFromFile(const QString& name);

    bool BeginningOfFile = true;
    bool EndOfFile = true;
    QString QuoteSeparator = QStringLiteral("\"");
    QString CSVSeparator = QStringLiteral(";");
    int MLBError = 0;
    QString MLBErrorComment;

private:
    int fieldIndex(const QString& name) const; // -1 when none
    void clearError()
    {
        MLBError = 0;
        MLBErrorComment.clear();
    }

    QStringList m_fields;
    // Case-folded name -> index, so that a lookup costs the same for the
    // ten-thousandth field as for the first (tables of OD columns are wide).
    QHash<QString, int> m_index;
    QStringList m_types; // "STRING" or "FLOAT", parallel to m_fields
    QList<QStringList> m_rows;
    int m_current = -1; // 0-based, -1 none
};

} // namespace korvimo
