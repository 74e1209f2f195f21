#include "support/ScriptedUi.h"

namespace {
const char* IconName(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::None: return "none";
    case MsgIcon::Stop: return "stop";
    case MsgIcon::Question: return "question";
    case MsgIcon::Exclamation: return "exclamation";
    }
    return "?";
}
}  // namespace

void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

ScriptedUi::~ScriptedUi() = default;

ExpectedMessage& ScriptedUi::Expect(const QString& title, MsgAnswer answer)
{
    ExpectedMessage& expected = m_expected.emplace_back();
    expected.m_title = title;
    expected.m_answer = answer;
    return expected;
}

void ScriptedUi::VerifyAllUsed()
{
    for (const ExpectedMessage& e : m_expected)
        ADD_FAILURE() << "expected message not shown: \"" << e.m_title.toStdString() << "\"";
    for (const ExpectedDialog& d : m_dialogs) ADD_FAILURE() << "expected dialog not run: " << d.typeName;
    for (const QString& path : m_fileChoices) ADD_FAILURE() << "file choice not used: " << path.toStdString();
    m_expected.clear();
    m_dialogs.clear();
    m_fileChoices.clear();
}

MsgAnswer ScriptedUi::Message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons,
                              const MessageOptions& options)
{
    m_messages.push_back({text, title, icon, buttons, options});
    if (m_expected.empty()) {
        ADD_FAILURE() << "unexpected message \"" << title.toStdString() << "\": " << text.toStdString();
        return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
    }
    ExpectedMessage expected = m_expected.front();
    m_expected.pop_front();
    EXPECT_EQ(expected.m_title, title) << "message text: " << text.toStdString();
    if (expected.m_text) {
        EXPECT_EQ(*expected.m_text, text) << "message \"" << title.toStdString() << "\"";
    }
    if (expected.m_icon) {
        EXPECT_EQ(IconName(*expected.m_icon), std::string(IconName(icon))) << "icon of \"" << title.toStdString() << "\"";
    }
    if (expected.m_buttons) {
        EXPECT_EQ(int(*expected.m_buttons), int(buttons)) << "buttons of \"" << title.toStdString() << "\"";
    }
    if (expected.m_default) {
        EXPECT_EQ(int(*expected.m_default), int(options.defaultAnswer))
            << "default button of \"" << title.toStdString() << "\"";
    }
    if (expected.m_details) {
        EXPECT_EQ(*expected.m_details, options.details) << "details of \"" << title.toStdString() << "\"";
    }
    if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
    return expected.m_answer == MsgAnswer::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

int ScriptedUi::RunModal(CDialog& dialog)
{
    ++m_dialogsRun;
    if (m_dialogs.empty()) {
        ADD_FAILURE() << "unexpected dialog " << typeid(dialog).name() << " \"" << dialog.windowTitle().toStdString()
                      << "\"";
        dialog.reject();
        return dialog.result();
    }
    ExpectedDialog expected = std::move(m_dialogs.front());
    m_dialogs.pop_front();
    expected.driver(dialog);
    if (!dialog.HasEnded()) dialog.reject();
    return dialog.result();
}

void ScriptedUi::BeginWaitCursor()
{
    ++m_waitDepth;
    ++m_waitShows;
}

void ScriptedUi::EndWaitCursor()
{
    EXPECT_GT(m_waitDepth, 0) << "wait cursor ended more often than begun";
    --m_waitDepth;
}

QString ScriptedUi::ChoosePrinterPort(QWidget*)
{
    if (m_printerChoices.empty()) {
        ADD_FAILURE() << "unexpected print dialog";
        return {};
    }
    QString port = m_printerChoices.front();
    m_printerChoices.pop_front();
    return port;
}

QString ScriptedUi::ChooseFileToOpen(QWidget*, const QString& caption, const QString& filter)
{
    m_fileFilters.push_back(filter);
    if (m_fileChoices.empty()) {
        ADD_FAILURE() << "unexpected file dialog \"" << caption.toStdString() << "\"";
        return {};
    }
    QString path = m_fileChoices.front();
    m_fileChoices.pop_front();
    return path;
}

bool ScriptedUi::OpenUrl(const QUrl& url)
{
    m_openedUrls.push_back(url);
    return m_urlsOpen;
}
