#pragma once
// A read statement's rows, read by zero-based column position.
//
//   CRecordset rs(Sql("select id, name from System order by name"));
//   for (; !rs.IsEOF(); rs.MoveNext()) { int id = rs.GetInt(0); ... }
//
// The rows are fetched when the record set opens, so writes may run on the
// connection while a record set is being walked (as the delete cascades do).

#include "db/Format.h"

#include <QString>
#include <QVariant>

#include <vector>

class CRecordset {
public:
    CRecordset() = default;
    explicit CRecordset(const SqlStatement& statement) { Open(statement); }

    // Runs the statement; throws DbError when it fails.
    void Open(const SqlStatement& statement);
    void Close();

    bool IsEOF() const { return m_row >= m_rows.size(); }
    void MoveNext() { if (!IsEOF()) ++m_row; }
    // Back to the first row, for a second walk over the rows.
    void MoveFirst() { m_row = 0; }

    // Column values of the current row. NULL reads as 0 or the empty text.
    int GetInt(int column) const;
    double GetDouble(int column) const;
    QString GetString(int column) const;
    bool IsNull(int column) const;
    int ColumnCount() const { return m_columns; }
    QString ColumnName(int column) const;

private:
    const QVariant& Value(int column) const;

    std::vector<std::vector<QVariant>> m_rows;
    size_t m_row = 0;
    int m_columns = 0;
    std::vector<QString> m_names;
};

// True when the statement yields at least one row.
bool RecordExists(const SqlStatement& statement);

// Column 0 of the first row as an integer, or fallback when there is no row.
int QueryInt(const SqlStatement& statement, int fallback);
