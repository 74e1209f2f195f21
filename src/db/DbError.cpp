#include "db/DbError.h"

DbError::DbError(const QString& message, int code, QString state)
    : std::runtime_error(message.toStdString()), m_message(message), m_code(code), m_state(std::move(state))
{
}

bool DbError::IsSerializationFailure() const
{
    return m_state == QLatin1String("40001") || m_state == QLatin1String("40P01");
}

bool DbError::IsConnectionLost() const { return !m_state.isEmpty() && IsConnectionLostState(m_state, QString()); }

bool IsConnectionLostState(const QString& state, const QString& text)
{
    return state.startsWith(QLatin1String("08")) || state == QLatin1String("57P01") ||
           state == QLatin1String("57P02") || state == QLatin1String("57P03") ||
           text.contains(QLatin1String("connection has been lost"), Qt::CaseInsensitive) ||
           text.contains(QLatin1String("server closed the connection"), Qt::CaseInsensitive) ||
           text.contains(QLatin1String("no connection to the server"), Qt::CaseInsensitive);
}
