#include "venue/VenueConnection.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Schema.h"
#include "db/StoreAddress.h"

#include <QDir>

namespace {

// The venue's connection to the file never creates it.
QString ReadOnlyConnectString(const QString& connectString)
{
    if (StoreAddressOf(connectString).kind == StoreKind::Server) return connectString;
    return connectString + QStringLiteral(";NoCreat=1");
}

// The store as the venue's messages name it.
QString StoreName(const QString& connectString)
{
    const StoreAddress store = StoreAddressOf(connectString);
    if (store.kind == StoreKind::Server) return store.Description();
    return Format("tournament database %s in %s", kDatabaseFileName, QDir::toNativeSeparators(QDir::currentPath()));
}

}  // namespace

VenueServerError::VenueServerError(const QString& message)
    : std::runtime_error(message.toStdString()), m_message(message)
{
}

void OpenVenueConnection(const QString& connectString)
{
    try {
        CDatabase::Open(ReadOnlyConnectString(connectString));
        if (CDatabase::Kind() == StoreKind::File) ExecuteSQL("PRAGMA query_only = 1");
        const QStringList missing = MissingSchemaTables();
        if (!missing.isEmpty())
            throw VenueServerError(Format("The %s does not hold the program's tables (%s %s missing), so there is "
                                          "nothing to show.",
                                          StoreName(connectString), missing.join(QStringLiteral(", ")),
                                          missing.size() == 1 ? "is" : "are"));
    } catch (const DbError& failure) {
        CDatabase::Close();
        throw VenueServerError(
            Format("The venue display cannot read the %s:\n\n%s", StoreName(connectString), failure.Message()));
    } catch (...) {
        CDatabase::Close();
        throw;
    }
}
