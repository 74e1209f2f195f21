#include "support/SecondDesk.h"

#include "support/ScratchStore.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

int g_desks = 0;

}  // namespace

SecondDesk::SecondDesk(const ScratchStore& store) : m_name(QStringLiteral("second desk %1").arg(++g_desks))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_name);
    db.setDatabaseName(ScratchStore::OnServer() ? store.ConnectString()
                                                : QStringLiteral("DRIVER=SQLite3;Database=Orvex.mdb;Timeout=200"));
    if (!db.open()) m_lastError = db.lastError().text();
    if (ScratchStore::OnServer())
        QSqlQuery(db).exec(QStringLiteral("set session characteristics as transaction isolation level serializable"));
}

SecondDesk::~SecondDesk()
{
    QSqlDatabase::database(m_name, false).close();
    QSqlDatabase::removeDatabase(m_name);
}

bool SecondDesk::Write(const QString& statement)
{
    QSqlQuery query(QSqlDatabase::database(m_name, false));
    if (query.exec(statement)) return true;
    m_lastError = query.lastError().text();
    return false;
}

int SecondDesk::Int(const QString& statement)
{
    QSqlQuery query(QSqlDatabase::database(m_name, false));
    if (!query.exec(statement) || !query.next()) {
        m_lastError = query.lastError().text();
        return -1;
    }
    return query.value(0).toInt();
}

bool SecondDesk::Begin() { return QSqlDatabase::database(m_name, false).transaction(); }

bool SecondDesk::Commit()
{
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (db.commit()) return true;
    m_lastError = db.lastError().text();
    return false;
}
