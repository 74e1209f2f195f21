#include "ui/UiServices.h"

#include "ui/QtUiServices.h"

namespace {
std::unique_ptr<UiServices>& Installed()
{
    static std::unique_ptr<UiServices> services = std::make_unique<QtUiServices>();
    return services;
}
}  // namespace

UiServices& Services() { return *Installed(); }

std::unique_ptr<UiServices> InstallUiServices(std::unique_ptr<UiServices> services)
{
    std::unique_ptr<UiServices> previous = std::move(Installed());
    Installed() = std::move(services);
    return previous;
}

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
