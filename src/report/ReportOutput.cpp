#include "report/ReportOutput.h"

#include "db/Format.h"
#include "ui/UiServices.h"

#include <QAction>
#include <QFile>
#include <QProcess>

QString g_printerPort;

namespace {

void ReportOutputFailure(const QString& target, const QString& reason)
{
    ShowMessage(Format("The report could not be written to \"%s\":\n%s", target, reason), QStringLiteral("Print Failed"),
                MsgIcon::Stop);
}

class FileReportStream : public ReportStream {
public:
    explicit FileReportStream(const QString& path) : m_file(path) {}

    bool Open()
    {
        if (m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) return true;
        ReportOutputFailure(m_file.fileName(), m_file.errorString());
        return false;
    }

    void Write(const QString& text) override
    {
        if (m_failed) return;
        const QByteArray bytes = text.toUtf8();
        if (m_file.write(bytes) != bytes.size()) m_failed = true;
    }

    bool Close() override
    {
        if (!m_failed && !m_file.flush()) m_failed = true;
        const QString reason = m_file.errorString();
        m_file.close();
        if (m_failed) ReportOutputFailure(m_file.fileName(), reason);
        return !m_failed;
    }

private:
    QFile m_file;
    bool m_failed = false;
};

// A printer queue: the text goes to `lp -d QUEUE`, which prints plain text
// as it stands, form feeds included.
class QueueReportStream : public ReportStream {
public:
    explicit QueueReportStream(const QString& port) : m_port(port), m_queue(port.chopped(1)) {}

    bool Open()
    {
        m_lp.setProcessChannelMode(QProcess::MergedChannels);
        m_lp.start(QStringLiteral("lp"), {QStringLiteral("-d"), m_queue});
        if (m_lp.waitForStarted()) return true;
        ReportOutputFailure(m_port, m_lp.errorString());
        return false;
    }

    void Write(const QString& text) override { m_text += text.toUtf8(); }

    bool Close() override
    {
        m_lp.write(m_text);
        m_lp.closeWriteChannel();
        if (!m_lp.waitForFinished(60000)) {
            m_lp.kill();
            m_lp.waitForFinished();
            ReportOutputFailure(m_port, QStringLiteral("The print command did not finish."));
            return false;
        }
        if (m_lp.exitStatus() != QProcess::NormalExit || m_lp.exitCode() != 0) {
            QString reason = QString::fromLocal8Bit(m_lp.readAll()).trimmed();
            if (reason.isEmpty()) reason = Format("lp ended with status %d.", m_lp.exitCode());
            ReportOutputFailure(m_port, reason);
            return false;
        }
        return true;
    }

private:
    QString m_port;
    QString m_queue;
    QProcess m_lp;
    QByteArray m_text;
};

void ShowPrintToFileMark(QAction* printToFile)
{
    if (printToFile) printToFile->setChecked(g_printerPort.isEmpty());
}

}  // namespace

bool IsUsablePrinterPort(const QString& port)
{
    return port.startsWith(QChar('\\')) || port.endsWith(QChar(':'));
}

QString SafeFileName(const QString& name)
{
    QString safe = name;
    for (QChar& c : safe)
        if (c == QChar('/') || c == QChar(u'\0')) c = QChar('_');
    return safe;
}

QString ReportFileName(const QString& tournamentName, const QString& title)
{
    return SafeFileName(tournamentName + QChar(' ') + title + QStringLiteral(".txt"));
}

std::unique_ptr<ReportStream> OpenReportOutput(const QString& tournamentName, const QString& title)
{
    if (!g_printerPort.isEmpty()) {
        if (g_printerPort.endsWith(QChar(':'))) {
            auto queue = std::make_unique<QueueReportStream>(g_printerPort);
            if (!queue->Open()) return nullptr;
            return queue;
        }
        auto device = std::make_unique<FileReportStream>(g_printerPort);
        if (!device->Open()) return nullptr;
        return device;
    }
    const QString fileName = ReportFileName(tournamentName, title);
    ShowMessage(Format("Printing to file \"%s\".", fileName), QStringLiteral("Printing to File"), MsgIcon::Exclamation);
    auto file = std::make_unique<FileReportStream>(fileName);
    if (!file->Open()) return nullptr;
    return file;
}

bool PrintReport(const QString& tournamentName, const QString& title,
                 const std::function<void(ReportStream&)>& writer)
{
    std::unique_ptr<ReportStream> out = OpenReportOutput(tournamentName, title);
    if (!out) return false;
    writer(*out);
    return out->Close();
}

void PrintReportText(const QString& tournamentName, const QString& title, const QString& text,
                     const QString& completion)
{
    if (PrintReport(tournamentName, title, [&](ReportStream& out) { out << text; }))
        ShowMessage(completion, QStringLiteral("Print Complete"), MsgIcon::Exclamation);
}

void SelectPrinter(QWidget* parent, QAction* printToFile)
{
    g_printerPort = Services().ChoosePrinterPort(parent);
    if (!IsUsablePrinterPort(g_printerPort)) {
        g_printerPort.clear();
        ShowMessage(QStringLiteral("Selected printer cannot be used."), QStringLiteral("Printer Support Unavailable"),
                    MsgIcon::Exclamation);
    }
    ShowPrintToFileMark(printToFile);
}

void PrintToFile(QAction* printToFile)
{
    g_printerPort.clear();
    ShowPrintToFileMark(printToFile);
}

void TakeDefaultPrinter(QAction* printToFile)
{
    g_printerPort = Services().DefaultPrinterPort();
    if (!IsUsablePrinterPort(g_printerPort)) g_printerPort.clear();
    ShowPrintToFileMark(printToFile);
}
