#include "support/ScratchStore.h"

#include "db/Database.h"
#include "db/Schema.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>
#include <stdexcept>

namespace {

const char kAdminConnection[] = "quorvane-test-admin";

std::atomic<int> g_scratchDatabases{0};

}  // namespace

bool ScratchStore::OnServer() { return qEnvironmentVariable("QUORVANE_TEST_STORE") == QLatin1String("postgres"); }

QString ScratchStore::ServerAdminConnectString()
{
    const QString admin = qEnvironmentVariable("QUORVANE_TEST_POSTGRES");
    if (admin.isEmpty())
        throw std::runtime_error(
            "the tests of the shared store need a PostgreSQL server: run them through "
            "tools/with-postgres (make test-postgres)");
    return admin;
}

void ScratchStore::RunAsServerAdmin(const QString& statement)
{
    const QString name = QString::fromLatin1(kAdminConnection);
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
        admin.setDatabaseName(ServerAdminConnectString());
        if (!admin.open())
            throw std::runtime_error("cannot reach the test server: " + admin.lastError().text().toStdString());
        QSqlQuery query(admin);
        if (!query.exec(statement))
            throw std::runtime_error(statement.toStdString() + ": " + query.lastError().text().toStdString());
    }
    QSqlDatabase::removeDatabase(name);
}

void ScratchStore::EndServerConnection(int backendPid)
{
    RunAsServerAdmin(QStringLiteral("select pg_terminate_backend(%1, 10000)").arg(backendPid));
}

ScratchStore::ScratchStore(Start start)
{
    if (!OnServer()) {
        m_connectString = QString::fromLatin1(kConnectString);
    } else {
        m_database = QStringLiteral("quorvane_%1_%2").arg(QCoreApplication::applicationPid()).arg(++g_scratchDatabases);
        RunAsServerAdmin(QStringLiteral("create database %1").arg(m_database));
        m_connectString = ServerAdminConnectString();
        m_connectString.replace(
            QRegularExpression(QStringLiteral("Database=[^;]*"), QRegularExpression::CaseInsensitiveOption),
            QStringLiteral("Database=") + m_database);
    }
    if (start == Start::Empty) return;
    CDatabase::Open(m_connectString);
    EnsureSchema();
}

ScratchStore::~ScratchStore()
{
    CDatabase::Close();
    if (!m_database.isEmpty()) {
        try {
            RunAsServerAdmin(QStringLiteral("drop database if exists %1 with (force)").arg(m_database));
        } catch (const std::exception&) {
            // The server's scratch folder goes with it at the end of the run.
        }
    }
}
