#pragma once
// The platform itself behind UiServices: QMessageBox, QDialog::exec,
// QPrintDialog and CUPS printers, the system clock.

#include "ui/UiServices.h"

class QtUiServices : public UiServices {
public:
    MsgAnswer Message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons,
                      const MessageOptions& options) override;
    int RunModal(CDialog& dialog) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    QString DefaultPrinterPort() override;
    QString ChoosePrinterPort(QWidget* parent) override;
    long long CurrentTimeSeconds() override;
};
