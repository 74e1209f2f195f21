#pragma once
// The user-interface services of the tests: every message box is recorded
// and answered from a queue of expectations, child dialogs are driven by
// callbacks instead of a nested event loop, and the clock, the printers, the
// files chosen in the file dialog and the desktop's browser are set by the
// test.
//
//   ui.Expect("Confirm Quit", MsgAnswer::No);
//   ui.Expect("Unable to Update!").Text("The tournament system is invalid. ...");
//   ui.ExpectDialog<CTournamentDetailsDialog>([](CTournamentDetailsDialog& d) { ...; d.accept(); });
//
// A message or a dialog nobody expected fails the test, and so does an
// expectation left unused when the test ends.

#include "ui/Dialog.h"
#include "ui/UiServices.h"

#include <QUrl>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <typeinfo>
#include <vector>

struct RecordedMessage {
    QString text;
    QString title;
    MsgIcon icon;
    MsgButtons buttons;
    MessageOptions options;
};

class ExpectedMessage {
public:
    ExpectedMessage& Text(const QString& text)
    {
        m_text = text;
        return *this;
    }
    ExpectedMessage& Icon(MsgIcon icon)
    {
        m_icon = icon;
        return *this;
    }
    ExpectedMessage& Buttons(MsgButtons buttons)
    {
        m_buttons = buttons;
        return *this;
    }
    // The button Enter presses in a Yes/No box.
    ExpectedMessage& Default(MsgAnswer answer)
    {
        m_default = answer;
        return *this;
    }
    ExpectedMessage& Details(const QString& details)
    {
        m_details = details;
        return *this;
    }

private:
    friend class ScriptedUi;
    QString m_title;
    MsgAnswer m_answer = MsgAnswer::Ok;
    std::optional<QString> m_text;
    std::optional<MsgIcon> m_icon;
    std::optional<MsgButtons> m_buttons;
    std::optional<MsgAnswer> m_default;
    std::optional<QString> m_details;
};

class ScriptedUi : public UiServices {
public:
    ~ScriptedUi() override;

    // The next message must carry this title; it is answered with answer.
    ExpectedMessage& Expect(const QString& title, MsgAnswer answer = MsgAnswer::Ok);

    // The next modal dialog must be a D; driver works it and may end it
    // (accept(), reject(), or a click on its OK button). A dialog the driver
    // leaves open is closed as with the window's close box.
    template <class D>
    void ExpectDialog(std::function<void(D&)> driver = {})
    {
        m_dialogs.push_back({typeid(D).name(), [driver](CDialog& dialog) {
                                 D* typed = dynamic_cast<D*>(&dialog);
                                 if (!typed) {
                                     ADD_FAILURE() << "expected a dialog of type " << typeid(D).name() << ", got "
                                                   << typeid(dialog).name();
                                     return;
                                 }
                                 if (driver) driver(*typed);
                             }});
    }

    // Fails the test for every expectation not used yet, then forgets them.
    void VerifyAllUsed();

    const std::vector<RecordedMessage>& Messages() const { return m_messages; }
    int DialogsRun() const { return m_dialogsRun; }

    void SetTime(long long seconds) { m_time = seconds; }
    void SetDefaultPrinterPort(const QString& port) { m_defaultPort = port; }
    void QueuePrinterChoice(const QString& port) { m_printerChoices.push_back(port); }
    // The path the next file dialog returns; empty answers as Cancel. A file
    // dialog nobody queued a path for fails the test, and so does a path
    // left unused.
    void QueueFileChoice(const QString& path) { m_fileChoices.push_back(path); }
    // The name filter of every file dialog shown, in order.
    const std::vector<QString>& FileFilters() const { return m_fileFilters; }
    // Every URL handed to the desktop, in order; OpenUrl answers urlsOpen.
    const std::vector<QUrl>& OpenedUrls() const { return m_openedUrls; }
    void SetUrlsOpen(bool urlsOpen) { m_urlsOpen = urlsOpen; }

    int WaitCursorDepth() const { return m_waitDepth; }
    int WaitCursorShows() const { return m_waitShows; }

    // UiServices
    MsgAnswer Message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons,
                      const MessageOptions& options) override;
    int RunModal(CDialog& dialog) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    QString DefaultPrinterPort() override { return m_defaultPort; }
    QString ChoosePrinterPort(QWidget* parent) override;
    QString ChooseFileToOpen(QWidget* parent, const QString& caption, const QString& filter) override;
    bool OpenUrl(const QUrl& url) override;
    long long CurrentTimeSeconds() override { return m_time; }

private:
    struct ExpectedDialog {
        const char* typeName;
        std::function<void(CDialog&)> driver;
    };

    std::deque<ExpectedMessage> m_expected;
    std::deque<ExpectedDialog> m_dialogs;
    std::vector<RecordedMessage> m_messages;
    std::deque<QString> m_printerChoices;
    std::deque<QString> m_fileChoices;
    std::vector<QString> m_fileFilters;
    std::vector<QUrl> m_openedUrls;
    bool m_urlsOpen = true;
    QString m_defaultPort;
    long long m_time = 1000000000;
    int m_waitDepth = 0;
    int m_waitShows = 0;
    int m_dialogsRun = 0;
};

// Printing helpers for readable failure output.
void PrintTo(const QString& text, std::ostream* os);
