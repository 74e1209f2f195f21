#include "app/Messages.h"

#include "app/UiServices.h"
#include "db/Database.h"

void ReportFailure(const std::exception& failure)
{
    QString text;
    if (const auto* db = dynamic_cast<const DbError*>(&failure))
        text = db->Message();
    else
        text = QString::fromUtf8(failure.what());
    ShowMessage(text, kAppName, MsgIcon::Stop);
}
