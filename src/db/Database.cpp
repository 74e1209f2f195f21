#include "db/Database.h"

#include "db/StorableText.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

namespace {

const char kConnectionName[] = "quorvane";

// The driver's own wait when the connect string names no Timeout.
constexpr int kDriverDefaultTimeoutMs = 100000;

int g_transactionDepth = 0;
bool g_transactionFailed = false;
int g_busyTimeoutMs = kDriverDefaultTimeoutMs;

QString ConnectionName() { return QString::fromLatin1(kConnectionName); }

QString DriverText(const QSqlError& error)
{
    QString text = error.databaseText();
    if (text.isEmpty()) text = error.driverText();
    if (text.isEmpty()) text = error.text();
    return text;
}

// SQLite's result codes, as the driver reports them.
bool IsBusy(const QSqlError& error)
{
    return error.nativeErrorCode() == QLatin1String("5") ||
           error.databaseText().contains(QLatin1String("database is locked"));
}

bool IsReadOnly(const QSqlError& error)
{
    return error.nativeErrorCode() == QLatin1String("8") ||
           error.databaseText().contains(QLatin1String("attempt to write a readonly database"));
}

QSqlDatabase Connection()
{
    QSqlDatabase db = QSqlDatabase::database(ConnectionName(), false);
    if (!db.isValid() || !db.isOpen()) throw DbError(QStringLiteral("The database is not open."));
    return db;
}

int BusyTimeoutOf(const QString& connectString)
{
    static const QRegularExpression timeout(QStringLiteral("(?:^|;)\\s*Timeout\\s*=\\s*(\\d+)"),
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

}  // namespace

DbError::DbError(const QString& message, int code)
    : std::runtime_error(message.toStdString()), m_message(message), m_code(code)
{
}

DbError CDatabase::Failure(const QSqlError& error)
{
    const QString text = DriverText(error);
    const int code = error.nativeErrorCode().toInt();
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
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), ConnectionName());
    auto fail = [&db](const QSqlError& error) {
        QString why = DriverText(error);
        if (why.isEmpty()) why = QStringLiteral("The ODBC database driver is not available.");
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(ConnectionName());
        return DbError(why, error.nativeErrorCode().toInt());
    };
    if (!db.isValid()) throw fail(db.lastError());
    db.setDatabaseName(connectString);
    if (!db.open()) throw fail(db.lastError());
    // The driver waits for a busy file twice over: SQLite calls its busy
    // handler until the Timeout has passed, then the driver runs the
    // statement once more and its handler starts the clock again. Without
    // SQLite's handler the driver's own retries are the only wait, and they
    // end when the Timeout has passed.
    QSqlError pragmaError;
    {
        QSqlQuery pragma(db);
        if (!pragma.exec(QStringLiteral("PRAGMA busy_timeout = 0"))) pragmaError = pragma.lastError();
    }
    if (pragmaError.isValid()) throw fail(pragmaError);
    g_busyTimeoutMs = BusyTimeoutOf(connectString);
    g_transactionDepth = 0;
    g_transactionFailed = false;
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
}

bool CDatabase::IsOpen()
{
    return QSqlDatabase::contains(ConnectionName()) && QSqlDatabase::database(ConnectionName(), false).isOpen();
}

QSqlQuery CDatabase::Run(const SqlStatement& statement)
{
    RequireSendable(statement);
    QSqlQuery query(Connection());
    query.setForwardOnly(true);
    bool done = false;
    if (statement.BoundTexts().isEmpty()) {
        done = query.exec(statement.Text());
    } else if (query.prepare(statement.Text())) {
        // A null QString would be bound as NULL; a typed empty text is ''.
        for (const QString& text : statement.BoundTexts())
            query.addBindValue(text.isNull() ? QStringLiteral("") : text);
        done = query.exec();
    }
    if (!done) throw Failure(query.lastError());
    return query;
}

void CDatabase::ExecuteSQL(const SqlStatement& statement) { Run(statement); }

Transaction::Transaction()
{
    if (g_transactionDepth == 0) {
        QSqlDatabase db = Connection();
        if (!db.transaction()) throw CDatabase::Failure(db.lastError());
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
            const DbError failure = CDatabase::Failure(db.lastError());
            db.rollback();
            g_transactionFailed = true;
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
