#include "ui/QtUiServices.h"

#include "ui/Dialog.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QUrl>

namespace {

QString PortOf(const QString& queueName) { return queueName.isEmpty() ? QString() : queueName + QChar(':'); }

}  // namespace

MsgAnswer QtUiServices::Message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons,
                                const MessageOptions& options)
{
    QMessageBox box;
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Stop: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    }
    if (buttons == MsgButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(options.defaultAnswer == MsgAnswer::No ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    if (!options.details.isEmpty()) box.setDetailedText(options.details);
    // A message box shows the normal arrow even under the wait cursor.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    if (waiting) QApplication::restoreOverrideCursor();
    if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
    return answer == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

// The services installed: the Qt ones until others are installed (as the
// tests install theirs).
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

int QtUiServices::RunModal(CDialog& dialog) { return dialog.exec(); }

void QtUiServices::BeginWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void QtUiServices::EndWaitCursor() { QApplication::restoreOverrideCursor(); }

QString QtUiServices::DefaultPrinterPort() { return PortOf(QPrinterInfo::defaultPrinterName()); }

QString QtUiServices::ChoosePrinterPort(QWidget* parent)
{
    QPrinter printer;
    printer.setPrintRange(QPrinter::AllPages);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted) return {};
    if (printer.outputFormat() != QPrinter::NativeFormat || !printer.outputFileName().isEmpty()) return {};
    return PortOf(printer.printerName());
}

QString QtUiServices::ChooseFileToOpen(QWidget* parent, const QString& caption, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

bool QtUiServices::OpenUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

long long QtUiServices::CurrentTimeSeconds() { return QDateTime::currentSecsSinceEpoch(); }
