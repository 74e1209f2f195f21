#include "ui/Messages.h"

#include "db/Database.h"
#include "ui/UiServices.h"

void ShowUnableToUpdate(const QString& heading, const QString& errors)
{
    ShowMessage(heading + errors, QStringLiteral("Unable to Update!"), MsgIcon::Stop);
}

void ReportFailure(const std::exception& failure)
{
    QString text;
    if (const auto* db = dynamic_cast<const DbError*>(&failure))
        text = db->Message();
    else
        text = QString::fromUtf8(failure.what());
    ShowMessage(text, kAppName, MsgIcon::Stop);
}
