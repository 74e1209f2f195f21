#include "db/Recordset.h"

#include "db/Database.h"
#include "db/Format.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

void CRecordset::Open(const SqlStatement& statement)
{
    Close();
    QSqlQuery query = CDatabase::Run(statement);
    const QSqlRecord record = query.record();
    m_columns = record.count();
    for (int c = 0; c < m_columns; ++c) m_names.push_back(record.fieldName(c));
    while (query.next()) {
        std::vector<QVariant> row;
        row.reserve(size_t(m_columns));
        for (int c = 0; c < m_columns; ++c) row.push_back(query.value(c));
        m_rows.push_back(std::move(row));
    }
    if (query.lastError().isValid()) throw CDatabase::Failure(query.lastError());
}

void CRecordset::Close()
{
    m_rows.clear();
    m_row = 0;
    m_columns = 0;
    m_names.clear();
}

QString CRecordset::ColumnName(int column) const
{
    return column >= 0 && column < m_columns ? m_names[size_t(column)] : QString();
}

const QVariant& CRecordset::Value(int column) const
{
    if (IsEOF()) throw DbError(QStringLiteral("No current row in the record set."));
    if (column < 0 || column >= m_columns)
        throw DbError(Format("Column %d is not in the record set.", column));
    return m_rows[m_row][size_t(column)];
}

int CRecordset::GetInt(int column) const
{
    const QVariant& v = Value(column);
    return v.isNull() ? 0 : static_cast<int>(v.toLongLong());
}

double CRecordset::GetDouble(int column) const
{
    const QVariant& v = Value(column);
    return v.isNull() ? 0.0 : v.toDouble();
}

QString CRecordset::GetString(int column) const
{
    const QVariant& v = Value(column);
    return v.isNull() ? QString() : v.toString();
}

bool CRecordset::IsNull(int column) const { return Value(column).isNull(); }

bool RecordExists(const SqlStatement& statement) { return !CRecordset(statement).IsEOF(); }

int QueryInt(const SqlStatement& statement, int fallback)
{
    CRecordset rs(statement);
    return rs.IsEOF() ? fallback : rs.GetInt(0);
}
