#include "db/Database.h"

#include "db/OdbcDiagnostics.h"
#include "db/SchemaTables.h"
#include "db/ServerDialect.h"
#include "db/StorableText.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <atomic>

namespace {


// The driver's own wait when the connect string names no Timeout.
constexpr int kDriverDefaultTimeoutMs = 100000;

// How long the server store waits for a server to answer a connection.
constexpr int kServerLoginTimeoutSeconds = 15;

// Each thread that opens the database has a connection of its own (a
// connection serves only the thread that opened it): the program's dialogs
// on the main thread, and the venue display's pages on the thread that
// computes them. Everything below describes the calling thread's connection.
thread_local int g_transactionDepth = 0;
thread_local bool g_transactionFailed = false;
thread_local int g_busyTimeoutMs = kDriverDefaultTimeoutMs;
thread_local StoreAddress g_store;
// The server's connection broke; the next action outside a transaction
// connects again.
thread_local bool g_connectionLost = false;
// Since the last statement on the server: a connection idle for long may
// have been cut without a word (a server restarted, a network down).
thread_local QElapsedTimer g_sinceLastStatement;
constexpr qint64 kIdleBeforeProbeMs = 30000;

enum class Access { Read, Write };

// "quorvane" on the thread that opens the first connection, the program's
// main thread; "quorvane-2", "quorvane-3", ... on the others.
QString ConnectionName()
{
    static std::atomic<int> threads{0};
    thread_local const QString name = [] {
        const int number = ++threads;
        return number == 1 ? QStringLiteral("quorvane") : QStringLiteral("quorvane-%1").arg(number);
    }();
    return name;
}

bool OnServer() { return g_store.kind == StoreKind::Server; }

QString DriverText(const QSqlError& error)
{
    QString text = error.databaseText();
    if (text.isEmpty()) text = error.driverText();
    if (text.isEmpty()) text = error.text();
    // The PostgreSQL driver ends its texts with its own note of the step.
    thread_local const QRegularExpression step(QStringLiteral(";?\\s*\\n?(Error while executing the query|The connection has "
                                                        "been lost)\\s*$"));
    if (OnServer()) {
        const QString trimmed = text.trimmed();
        QString cut = trimmed;
        cut.remove(step);
        text = cut.trimmed().isEmpty() ? trimmed : cut.trimmed();
        text.remove(QRegularExpression(QStringLiteral("^(ERROR|FATAL):\\s+")));
    }
    return WithoutPassword(text, g_store.connectString);
}

// SQLite's result codes, as the driver reports them.
bool IsBusy(const QSqlError& error)
{
    return !OnServer() && (error.nativeErrorCode() == QLatin1String("5") ||
                           error.databaseText().contains(QLatin1String("database is locked")));
}

bool IsReadOnly(const QSqlError& error)
{
    return !OnServer() && (error.nativeErrorCode() == QLatin1String("8") ||
                           error.databaseText().contains(QLatin1String("attempt to write a readonly database")));
}

QSqlDatabase Connection()
{
    QSqlDatabase db = QSqlDatabase::database(ConnectionName(), false);
    if (!db.isValid() || !db.isOpen()) throw DbError(QStringLiteral("The database is not open."));
    return db;
}

int BusyTimeoutOf(const QString& connectString)
{
    thread_local const QRegularExpression timeout(QStringLiteral("(?:^|;)\\s*Timeout\\s*=\\s*(\\d+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = timeout.match(connectString);
    return match.hasMatch() ? match.captured(1).toInt() : kDriverDefaultTimeoutMs;
}

// The driver manager narrows the statement text to bytes, so only ASCII
// (without NUL, which would end it) arrives as it was built; bound texts
// arrive whole except for the few characters the store cannot keep.
void RequireSendable(const SqlStatement& statement)
{
    for (QChar c : statement.Text())
        if (c.unicode() == 0 || c.unicode() >= 0x80)
            throw DbError(Format("The statement was not run: its text holds the character %s, which cannot reach "
                                 "the database unchanged.",
                                 CharacterCode(c.unicode())));
    for (const QString& text : statement.BoundTexts())
        if (const auto bad = FindUnstorableCharacter(text))
            throw DbError(Format("The statement was not run: a text in it holds the character %s, which the "
                                 "database cannot store.",
                                 CharacterCode(bad->code)));
}

// A commit waits for readers of the file as a statement waits for writers.
bool CommitWaiting(QSqlDatabase& db)
{
    QElapsedTimer clock;
    clock.start();
    while (!db.commit()) {
        if (!IsBusy(db.lastError()) || clock.elapsed() >= g_busyTimeoutMs) return false;
        QThread::msleep(10);
    }
    return true;
}

// The driver manager found no driver of the connect string's name.
bool DriverMissing(const QSqlError& error, const QString& reason)
{
    auto says = [&reason](const char* words) { return reason.contains(QLatin1String(words), Qt::CaseInsensitive); };
    return says("Can't open lib") || says("Data source name not found") || says("Driver not found") ||
           (reason.isEmpty() && !error.isValid());
}

// The program's own words for a driver that is not installed, naming the
// Debian package that brings it.
QString MissingDriverText()
{
    const QString store = OnServer() ? QStringLiteral("the ") + g_store.Description()
                                     : QStringLiteral("the tournament database");
    const QString driver = g_store.driver.isEmpty() ? QStringLiteral("(none named)") : g_store.driver;
    const char* package = "the program works with the drivers {PostgreSQL Unicode}, from Debian's package "
                          "odbc-postgresql, and SQLite3, from Debian's package libsqliteodbc";
    if (OnServer())
        package = "Debian's package odbc-postgresql provides the driver {PostgreSQL Unicode}";
    else if (g_store.driver.contains(QLatin1String("sqlite"), Qt::CaseInsensitive))
        package = "Debian's package libsqliteodbc provides the driver SQLite3";
    return Format("The ODBC driver %s is not installed, so %s cannot be opened (%s).", driver, store, package);
}

// Why the server store cannot be opened, in one sentence naming what is
// wrong, then the driver's words.
DbError CannotConnect(const QSqlError& error)
{
    const QString reason = DriverText(error);
    auto says = [&reason](const char* words) { return reason.contains(QLatin1String(words), Qt::CaseInsensitive); };
    QString what;
    if (DriverMissing(error, reason))
        what = MissingDriverText();
    else if (says("password authentication failed") || says("authentication failed") || says("no password supplied"))
        what = Format("The PostgreSQL server %s refused the user name %s or its password.", g_store.ServerName(),
                      g_store.user.isEmpty() ? QStringLiteral("(none given)") : g_store.user);
    else if (says("does not exist") && says("database"))
        what = Format("The PostgreSQL server %s has no database %s.", g_store.ServerName(), g_store.database);
    else if (says("Connection refused") || says("could not translate host name") || says("timeout expired") ||
             says("No route to host") || says("Network is unreachable") || says("could not connect") ||
             says("Connection timed out"))
        what = Format("The PostgreSQL server %s cannot be reached.", g_store.ServerName());
    else
        what = Format("The %s cannot be opened.", g_store.Description());
    return DbError(reason.isEmpty() ? what : what + QStringLiteral("\n\n") + reason);
}

// Settings every connection of the store starts with.
QSqlError PrepareSession(QSqlDatabase& db)
{
    QSqlQuery session(db);
    // The server store: each desk's transactions as if they ran one after
    // another. The file: the driver waits for a busy file twice over (SQLite
    // calls its busy handler until the Timeout has passed, then the driver
    // runs the statement once more and its handler starts the clock again);
    // without SQLite's handler the driver's own retries are the only wait,
    // and they end when the Timeout has passed.
    const QString text = OnServer() ? QStringLiteral("set session characteristics as transaction isolation level "
                                                     "serializable")
                                    : QStringLiteral("PRAGMA busy_timeout = 0");
    return session.exec(text) ? QSqlError() : session.lastError();
}

// Connects again after the server's connection was lost.
void Reconnect()
{
    QSqlDatabase db = QSqlDatabase::database(ConnectionName(), false);
    if (!db.isValid()) throw DbError(QStringLiteral("The database is not open."));
    db.close();
    if (!db.open()) throw CannotConnect(db.lastError());
    if (const QSqlError failed = PrepareSession(db); failed.isValid()) throw CDatabase::Failure(failed);
    g_connectionLost = false;
}

// Before an action starts: a connection lost since the last one is opened
// again. Within a transaction the lost connection took the transaction with
// it, so nothing more of it may run.
void RequireConnection()
{
    if (!g_connectionLost) return;
    if (g_transactionDepth == 0) {
        Reconnect();
        return;
    }
    throw DbError(Format("The connection to the PostgreSQL server %s was lost, and with it the change under way: "
                         "nothing of it was saved.",
                         g_store.ServerName()),
                  0, QStringLiteral("08003"));
}

QSqlQuery RunOnce(const SqlStatement& statement, const QString& text, bool& done)
{
    QSqlQuery query(Connection());
    query.setForwardOnly(true);
    done = false;
    if (statement.BoundTexts().isEmpty()) {
        done = query.exec(text);
    } else if (query.prepare(text)) {
        // A null QString would be bound as NULL; a typed empty text is ''.
        for (const QString& bound : statement.BoundTexts())
            query.addBindValue(bound.isNull() ? QStringLiteral("") : bound);
        done = query.exec();
    }
    return query;
}

QSqlQuery Execute(const SqlStatement& statement, Access access);

// Before an action writes on a connection that has been idle for long, a
// read finds out whether it still stands, and connects again if not, so the
// write is not the statement that discovers it.
void ProbeIdleConnection()
{
    if (!OnServer() || g_transactionDepth > 0 || !g_sinceLastStatement.isValid() ||
        g_sinceLastStatement.elapsed() < kIdleBeforeProbeMs)
        return;
    Execute("select 1", Access::Read);
}

QSqlQuery Execute(const SqlStatement& statement, Access access)
{
    RequireSendable(statement);
    RequireConnection();
    if (access == Access::Write) ProbeIdleConnection();
    g_sinceLastStatement.start();
    const QString text = OnServer() ? ServerStatementText(statement.Text(), SchemaTextColumns()) : statement.Text();
    for (int attempt = 0;; ++attempt) {
        bool done = false;
        QSqlQuery query = RunOnce(statement, text, done);
        if (done) return query;
        const DbError failure = CDatabase::Failure(query.lastError(), OnServer() ? StatementState(query) : QString());
        const bool alone = g_transactionDepth == 0;
        if (failure.IsConnectionLost() && alone && access == Access::Read && attempt == 0) {
            // A read changes nothing, so it may run again on a new connection.
            Reconnect();
            continue;
        }
        // A statement outside a transaction that the server refused for a
        // concurrent change did nothing, and may run again.
        if (failure.IsSerializationFailure() && alone && attempt < kSerializationRetries) continue;
        throw failure;
    }
}

}  // namespace

DbError CDatabase::Failure(const QSqlError& error, const QString& state)
{
    const QString text = DriverText(error);
    const int code = error.nativeErrorCode().toInt();
    if (OnServer()) {
        // The driver may report a broken connection as the failure of a step
        // of its own ("internal SAVEPOINT failed"): it knows it is broken.
        const QSqlDatabase db = QSqlDatabase::database(ConnectionName(), false);
        if (IsConnectionLostState(state, error.databaseText() + error.driverText()) ||
            (db.isValid() && ConnectionDead(db))) {
            g_connectionLost = true;
            const QString lost = state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57"))
                                     ? state
                                     : QStringLiteral("08006");
            return DbError(Format("The connection to the PostgreSQL server %s was lost: what you were doing was not "
                                  "saved. The program connects again at your next action.\n\n%s",
                                  g_store.ServerName(), text),
                           code, lost);
        }
        if (state == QLatin1String("40001") || state == QLatin1String("40P01"))
            return DbError(Format("Another desk changed the same data at the same moment, so this change was not "
                                  "saved. Try again.\n\n%s",
                                  text),
                           code, state);
        return DbError(text, code, state);
    }
    if (IsBusy(error))
        return DbError(Format("Another program is writing to %s. Try again when it has finished.\n\n%s",
                              kDatabaseFileName, text),
                       code);
    if (IsReadOnly(error))
        return DbError(Format("%s is read-only: changes cannot be saved.\n\n%s", kDatabaseFileName, text), code);
    return DbError(text, code);
}

void CDatabase::Open(const QString& connectString)
{
    Close();
    g_store = StoreAddressOf(connectString);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), ConnectionName());
    auto discard = [&db] {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(ConnectionName());
        g_store = StoreAddress();
    };
    auto fail = [&](const QSqlError& error) {
        DbError failure = OnServer() ? CannotConnect(error) : [&] {
            const QString why = DriverText(error);
            if (DriverMissing(error, why))
                return DbError(why.isEmpty() ? MissingDriverText() : MissingDriverText() + QStringLiteral("\n\n") + why);
            return DbError(why, error.nativeErrorCode().toInt());
        }();
        discard();
        return failure;
    };
    if (!db.isValid()) throw fail(db.lastError());
    db.setDatabaseName(connectString);
    if (OnServer()) db.setConnectOptions(Format("SQL_ATTR_LOGIN_TIMEOUT=%d", kServerLoginTimeoutSeconds));
    if (!db.open()) throw fail(db.lastError());
    if (const QSqlError failed = PrepareSession(db); failed.isValid()) {
        const DbError failure = Failure(failed);
        discard();
        throw failure;
    }
    g_busyTimeoutMs = BusyTimeoutOf(connectString);
    g_transactionDepth = 0;
    g_transactionFailed = false;
    g_connectionLost = false;
}

void CDatabase::Close()
{
    if (!QSqlDatabase::contains(ConnectionName())) return;
    {
        QSqlDatabase db = QSqlDatabase::database(ConnectionName(), false);
        if (db.isOpen()) db.close();
    }
    QSqlDatabase::removeDatabase(ConnectionName());
    g_transactionDepth = 0;
    g_transactionFailed = false;
    g_connectionLost = false;
}

bool CDatabase::IsOpen()
{
    return QSqlDatabase::contains(ConnectionName()) && QSqlDatabase::database(ConnectionName(), false).isOpen();
}

const StoreAddress& CDatabase::Store() { return g_store; }

QSqlQuery CDatabase::Run(const SqlStatement& statement) { return Execute(statement, Access::Read); }

void CDatabase::ExecuteSQL(const SqlStatement& statement) { Execute(statement, Access::Write); }

QString CDatabase::ChangeMark()
{
    QSqlQuery query = OnServer() ? Execute("select cast(txid_current_snapshot() as text)", Access::Read)
                                 : Execute("PRAGMA data_version", Access::Read);
    if (!query.next()) throw DbError(QStringLiteral("The store did not say whether it has changed."));
    return query.value(0).toString();
}

int CDatabase::InsertReturningId(const SqlStatement& insert)
{
    if (OnServer()) {
        QSqlQuery query = Execute(insert.Followed(" returning id"), Access::Write);
        if (!query.next()) throw DbError(QStringLiteral("The new row's id was not returned."));
        return query.value(0).toInt();
    }
    Execute(insert, Access::Write);
    QSqlQuery id = Execute("select last_insert_rowid()", Access::Read);
    if (!id.next()) throw DbError(QStringLiteral("The new row's id was not returned."));
    return id.value(0).toInt();
}

Transaction::Transaction()
{
    if (g_transactionDepth == 0) {
        RequireConnection();
        ProbeIdleConnection();
        QSqlDatabase db = Connection();
        if (!db.transaction()) throw CDatabase::Failure(db.lastError(), OnServer() ? ConnectionState(db) : QString());
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
        if (!CommitWaiting(db)) {
            const DbError failure = CDatabase::Failure(db.lastError(), OnServer() ? ConnectionState(db) : QString());
            db.rollback();
            g_transactionFailed = true;
            if (failure.IsConnectionLost())
                throw DbError(Format("The connection to the PostgreSQL server %s was lost while the change was being "
                                     "saved, so it may or may not have been saved: look at it again after your next "
                                     "action, which connects again.\n\n%s",
                                     g_store.ServerName(), failure.Message().section(QStringLiteral("\n\n"), 1)),
                              failure.Code(), failure.State());
            throw failure;
        }
    }
}

Transaction::~Transaction()
{
    if (!m_committed) g_transactionFailed = true;
    if (--g_transactionDepth == 0) {
        if (g_transactionFailed && CDatabase::IsOpen()) {
            QSqlDatabase db = QSqlDatabase::database(ConnectionName(), false);
            db.rollback();
        }
        g_transactionFailed = false;
    }
}

bool Transaction::Active() { return g_transactionDepth > 0; }

void RunAtomically(const std::function<void()>& action)
{
    if (Transaction::Active()) {
        Transaction transaction;
        action();
        transaction.Commit();
        return;
    }
    for (int attempt = 0;; ++attempt) {
        try {
            Transaction transaction;
            action();
            transaction.Commit();
            return;
        } catch (const DbError& failure) {
            if (!failure.IsSerializationFailure()) throw;
            if (attempt == kSerializationRetries)
                throw DbError(Format("Another desk changed the same data at the same moment, %d times in a row, so "
                                     "this change was not saved. Try again.\n\n%s",
                                     attempt + 1, failure.Message().section(QStringLiteral("\n\n"), 1)),
                              failure.Code(), failure.State());
        }
    }
}
