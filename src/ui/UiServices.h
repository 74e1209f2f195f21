#pragma once
// Everything a dialog asks of the platform goes through one process-wide
// services object: message boxes, running a modal child dialog, the wait
// cursor, the printers, the file dialog, the desktop's browser and the clock. The program installs the Qt version;
// the tests install a scripted one that answers from a queue, so any dialog
// can be driven end to end in-process.

#include <QString>

#include <memory>

class CDialog;
class QUrl;
class QWidget;

enum class MsgIcon { None, Stop, Question, Exclamation };
enum class MsgButtons { Ok, YesNo };
enum class MsgAnswer { Ok, Yes, No };

// What a message box shows beyond its text, title, icon and buttons.
struct MessageOptions {
    // The button of a Yes/No box that Enter presses. Escape always answers No.
    MsgAnswer defaultAnswer = MsgAnswer::Yes;
    // Further text the director can unfold under the message; empty for none.
    QString details;
};

class UiServices {
public:
    virtual ~UiServices() = default;

    virtual MsgAnswer Message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons,
                              const MessageOptions& options) = 0;

    // Runs an initialised dialog modally; returns its result code.
    virtual int RunModal(CDialog& dialog) = 0;

    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;

    // Port name of the default printer ("QUEUE:"), or empty when there is none.
    virtual QString DefaultPrinterPort() = 0;
    // Shows the print dialog; the port name of the printer chosen, or empty
    // (cancelled, no printer, or printing to a PDF file).
    virtual QString ChoosePrinterPort(QWidget* parent) = 0;

    // Shows the file dialog for opening one existing file of the working
    // folder or any other; the path chosen, or empty when cancelled. filter
    // is a name filter such as "Spreadsheets (*.csv *.txt)".
    virtual QString ChooseFileToOpen(QWidget* parent, const QString& caption, const QString& filter) = 0;
    // Opens url with the program the desktop uses for it (a web page in the
    // default browser); false when none could be started.
    virtual bool OpenUrl(const QUrl& url) = 0;

    // Seconds since 1970-01-01 00:00 UTC.
    virtual long long CurrentTimeSeconds() = 0;
};

// The services installed: the Qt ones (QtUiServices.cpp, which keeps them)
// until others are installed.
UiServices& Services();
// Installs services and returns the ones installed before.
std::unique_ptr<UiServices> InstallUiServices(std::unique_ptr<UiServices> services);

// Shorthands for the one way to show a message.
MsgAnswer ShowMessage(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok,
                      const MessageOptions& options = {});
// A Yes/No box with the question icon; true only for Yes.
bool AskYesNo(const QString& text, const QString& title, MsgIcon icon = MsgIcon::Question);
// A Yes/No box for a question whose Yes destroys data: No is the default
// button, so Enter alone never destroys anything. True only for Yes.
bool ConfirmDestructive(const QString& text, const QString& title, MsgIcon icon = MsgIcon::Question);

// Shows the wait cursor for as long as it lives.
class WaitCursor {
public:
    WaitCursor() { Services().BeginWaitCursor(); }
    ~WaitCursor() { Services().EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
