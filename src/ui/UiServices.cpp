#include "ui/UiServices.h"

MsgAnswer ShowMessage(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons,
                      const MessageOptions& options)
{
    return Services().Message(text, title, icon, buttons, options);
}

bool AskYesNo(const QString& text, const QString& title, MsgIcon icon)
{
    return ShowMessage(text, title, icon, MsgButtons::YesNo) == MsgAnswer::Yes;
}

bool ConfirmDestructive(const QString& text, const QString& title, MsgIcon icon)
{
    MessageOptions options;
    options.defaultAnswer = MsgAnswer::No;
    return ShowMessage(text, title, icon, MsgButtons::YesNo, options) == MsgAnswer::Yes;
}
