#include "db/Database.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

const char kConnectionName[] = "quorvane";

int g_transactionDepth = 0;
bool g_transactionFailed = false;

QString DriverText(const QSqlError& error)
{
    QString text = error.databaseText();
    if (text.isEmpty()) text = error.driverText();
    if (text.isEmpty()) text = error.text();
    return text;
}

QSqlDatabase Connection()
{
    QSqlDatabase db = QSqlDatabase::database(QString::fromLatin1(kConnectionName), false);
    if (!db.isValid() || !db.isOpen()) throw DbError(QStringLiteral("The database is not open."));
    return db;
}

}  // namespace

DbError::DbError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}

void CDatabase::Open(const QString& connectString)
{
    Close();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QString::fromLatin1(kConnectionName));
    if (!db.isValid()) {
        const QString why = DriverText(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QString::fromLatin1(kConnectionName));
        throw DbError(why.isEmpty() ? QStringLiteral("The ODBC database driver is not available.") : why);
    }
    db.setDatabaseName(connectString);
    if (!db.open()) {
        const QString why = DriverText(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QString::fromLatin1(kConnectionName));
        throw DbError(why);
    }
    g_transactionDepth = 0;
    g_transactionFailed = false;
}

void CDatabase::Close()
{
    if (!QSqlDatabase::contains(QString::fromLatin1(kConnectionName))) return;
    {
        QSqlDatabase db = QSqlDatabase::database(QString::fromLatin1(kConnectionName), false);
        if (db.isOpen()) db.close();
    }
    QSqlDatabase::removeDatabase(QString::fromLatin1(kConnectionName));
    g_transactionDepth = 0;
    g_transactionFailed = false;
}

bool CDatabase::IsOpen()
{
    return QSqlDatabase::contains(QString::fromLatin1(kConnectionName)) &&
           QSqlDatabase::database(QString::fromLatin1(kConnectionName), false).isOpen();
}

QString CDatabase::ConnectionName() { return QString::fromLatin1(kConnectionName); }

void CDatabase::ExecuteSQL(const QString& statement)
{
    QSqlQuery query(Connection());
    if (!query.exec(statement)) throw DbError(DriverText(query.lastError()));
}

Transaction::Transaction()
{
    if (g_transactionDepth == 0) {
        QSqlDatabase db = Connection();
        if (!db.transaction()) throw DbError(DriverText(db.lastError()));
        g_transactionFailed = false;
    }
    ++g_transactionDepth;
}

void Transaction::Commit()
{
    if (m_committed) return;
    m_committed = true;
    if (g_transactionDepth == 1 && !g_transactionFailed) {
        QSqlDatabase db = Connection();
        if (!db.commit()) {
            const QString why = DriverText(db.lastError());
            db.rollback();
            g_transactionFailed = true;
            throw DbError(why);
        }
    }
}

Transaction::~Transaction()
{
    if (!m_committed) g_transactionFailed = true;
    if (--g_transactionDepth == 0) {
        if (g_transactionFailed && CDatabase::IsOpen()) {
            QSqlDatabase db = QSqlDatabase::database(QString::fromLatin1(kConnectionName), false);
            db.rollback();
        }
        g_transactionFailed = false;
    }
}
