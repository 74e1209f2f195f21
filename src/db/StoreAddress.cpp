#include "db/StoreAddress.h"

#include "db/DbError.h"
#include "db/Format.h"

#include <QRegularExpression>

#include <initializer_list>

namespace {

// The first value of any of keys, or empty.
QString ValueOf(const std::vector<ConnectStringPair>& pairs, std::initializer_list<const char*> keys)
{
    for (const ConnectStringPair& pair : pairs)
        for (const char* key : keys)
            if (pair.key.compare(QLatin1String(key), Qt::CaseInsensitive) == 0) return pair.value;
    return {};
}

DbError NotAConnectString(const QString& connectString, const QString& why)
{
    return DbError(Format("The database connect string \"%s\" cannot be used: %s",
                          WithoutPassword(connectString, connectString), why));
}

}  // namespace

namespace {

// The pairs of connectString, or the reason it is no connect string.
std::vector<ConnectStringPair> ReadPairs(const QString& connectString, QString& why)
{
    std::vector<ConnectStringPair> pairs;
    const qsizetype n = connectString.size();
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < n && connectString[i] == QChar(' ')) ++i;
    };
    while (i < n) {
        const qsizetype equals = connectString.indexOf(QChar('='), i);
        const qsizetype semicolon = connectString.indexOf(QChar(';'), i);
        if (equals < 0 || (semicolon >= 0 && semicolon < equals)) {
            const QString part = connectString.mid(i, semicolon < 0 ? -1 : semicolon - i).trimmed();
            if (!part.isEmpty()) {
                why = Format("\"%s\" is not of the form key=value.", part);
                return {};
            }
            i = semicolon < 0 ? n : semicolon + 1;
            continue;
        }
        ConnectStringPair pair;
        pair.key = connectString.mid(i, equals - i).trimmed();
        if (pair.key.isEmpty()) {
            why = QStringLiteral("a value has no key before its \"=\".");
            return {};
        }
        i = equals + 1;
        skipBlanks();
        if (i < n && connectString[i] == QChar('{')) {
            bool closed = false;
            for (++i; i < n && !closed; ++i) {
                if (connectString[i] != QChar('}')) {
                    pair.value += connectString[i];
                } else if (i + 1 < n && connectString[i + 1] == QChar('}')) {
                    pair.value += QChar('}');
                    ++i;
                } else {
                    closed = true;
                }
            }
            skipBlanks();
            if (!closed) {
                why = Format("the value of %s opens a brace that is never closed.", pair.key);
                return {};
            }
            if (i < n && connectString[i] != QChar(';')) {
                why = Format("the braced value of %s is followed by more text.", pair.key);
                return {};
            }
        } else {
            const qsizetype end = connectString.indexOf(QChar(';'), i);
            pair.value = connectString.mid(i, end < 0 ? -1 : end - i).trimmed();
            i = end < 0 ? n : end;
        }
        if (i < n) ++i;  // the ';'
        pairs.push_back(std::move(pair));
    }
    if (pairs.empty()) why = QStringLiteral("it is empty.");
    return pairs;
}

}  // namespace

std::vector<ConnectStringPair> ParseConnectString(const QString& connectString)
{
    QString why;
    std::vector<ConnectStringPair> pairs = ReadPairs(connectString, why);
    if (!why.isEmpty()) throw NotAConnectString(connectString, why);
    return pairs;
}

QString StoreAddress::ServerName() const { return port.isEmpty() ? server : server + QChar(':') + port; }

QString StoreAddress::Description() const
{
    if (kind == StoreKind::File) return QString::fromLatin1(kDatabaseFileName);
    return Format("PostgreSQL database %s on %s", database, ServerName());
}

StoreAddress StoreAddressOf(const QString& connectString)
{
    const std::vector<ConnectStringPair> pairs = ParseConnectString(connectString);
    StoreAddress address;
    address.connectString = connectString;
    address.driver = ValueOf(pairs, {"DRIVER"});
    address.server = ValueOf(pairs, {"Server", "Servername"});
    address.port = ValueOf(pairs, {"Port"});
    address.database = ValueOf(pairs, {"Database"});
    address.user = ValueOf(pairs, {"Uid", "Username", "User"});
    address.password = ValueOf(pairs, {"Pwd", "Password"});
    if (!address.driver.contains(QLatin1String("postgres"), Qt::CaseInsensitive)) {
        if (address.driver.isEmpty() && !ValueOf(pairs, {"DSN"}).isEmpty())
            throw NotAConnectString(connectString,
                                    QStringLiteral("it names a data source (DSN); name the driver instead, "
                                                   "as DRIVER={PostgreSQL Unicode}."));
        if (address.driver.isEmpty())
            throw NotAConnectString(connectString,
                                    QStringLiteral("it names no DRIVER; a shared database is reached with "
                                                   "DRIVER={PostgreSQL Unicode}."));
        return address;
    }
    address.kind = StoreKind::Server;
    if (address.server.isEmpty()) throw NotAConnectString(connectString, QStringLiteral("it names no Server."));
    if (address.database.isEmpty()) throw NotAConnectString(connectString, QStringLiteral("it names no Database."));
    thread_local const QRegularExpression digits(QStringLiteral("^\\d{1,5}$"));
    if (!address.port.isEmpty() && (!digits.match(address.port).hasMatch() || address.port.toInt() > 65535))
        throw NotAConnectString(connectString, Format("the Port %s is not a port number.", address.port));
    return address;
}

QString WithoutPassword(const QString& text, const QString& connectString)
{
    thread_local const QRegularExpression passwordPair(
        QStringLiteral("(\\b(?:Pwd|Password)\\s*=\\s*)(\\{(?:[^}]|\\}\\})*\\}?|[^;\"\\n]*)"),
        QRegularExpression::CaseInsensitiveOption);
    QString redacted = text;
    redacted.replace(passwordPair, QStringLiteral("\\1*****"));
    // The password itself, wherever a driver's text might repeat it.
    QString why;
    const QString password = ValueOf(ReadPairs(connectString, why), {"Pwd", "Password"});
    if (password.size() >= 3) redacted.replace(password, QStringLiteral("*****"));
    return redacted;
}
