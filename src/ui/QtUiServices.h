#pragma once
// The platform itself behind UiServices: QMessageBox, QDialog::exec,
// QPrintDialog and CUPS printers, QFileDialog, QDesktopServices, the system
// clock.

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
    QString ChooseFileToOpen(QWidget* parent, const QString& caption, const QString& filter) override;
    bool OpenUrl(const QUrl& url) override;
    long long CurrentTimeSeconds() override;
};
