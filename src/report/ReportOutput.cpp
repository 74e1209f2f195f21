#include "report/ReportOutput.h"

#include "db/Format.h"
#include "ui/UiServices.h"

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QSaveFile>

QString g_printerPort;

namespace {

void ReportOutputFailure(const QString& target, const QString& reason)
{
    ShowMessage(Format("The report could not be written to \"%s\":\n%s", target, reason), QStringLiteral("Print Failed"),
                MsgIcon::Stop);
}

// A report file is written unbuffered, so that every failed write is seen
// as it happens and with its reason.
constexpr QIODevice::OpenMode kWholeFileMode = QIODevice::WriteOnly | QIODevice::Text | QIODevice::Unbuffered;

// Writes all of bytes. A write the disk cuts short is tried again for the
// rest, so that a failure comes with the system's reason (a short write has
// none). False when a write failed.
bool WriteAll(QFileDevice& file, const QByteArray& bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) return false;
        done += qsizetype(written);
    }
    return true;
}

// Gives the temporary file of a QSaveFile its name, unless a write failed:
// then the temporary file goes and an earlier file stays as it was. Empty on
// success, else the reason.
QString CommitWholeFile(QSaveFile& file)
{
    if (file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        file.commit();
        return reason;
    }
    return file.commit() ? QString() : file.errorString();
}

// A report file is written under a temporary name and takes its own name
// only once complete; a printer port (a device) is written directly.
class FileReportStream : public ReportStream {
public:
    FileReportStream(const QString& path, bool device)
    {
        if (device) {
            m_file = std::make_unique<QFile>(path);
            return;
        }
        auto whole = std::make_unique<QSaveFile>(path);
        m_whole = whole.get();
        m_file = std::move(whole);
    }

    bool Open()
    {
        const QIODevice::OpenMode mode =
            m_whole ? kWholeFileMode : QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text;
        if (m_file->open(mode)) return true;
        ReportOutputFailure(m_file->fileName(), m_file->errorString());
        return false;
    }

    void Write(const QString& text) override
    {
        if (m_failed) return;
        if (!WriteAll(*m_file, text.toUtf8())) m_failed = true;
    }

    bool Close() override
    {
        QString reason;
        if (m_whole) {
            reason = CommitWholeFile(*m_whole);  // sees a failed write too
            m_failed = !reason.isEmpty();
        } else {
            if (!m_failed && !m_file->flush()) m_failed = true;
            reason = m_file->errorString();
            m_file->close();
        }
        if (m_failed) ReportOutputFailure(m_file->fileName(), reason);
        return !m_failed;
    }

private:
    std::unique_ptr<QFileDevice> m_file;
    QSaveFile* m_whole = nullptr;  // m_file, when it is a report file
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

QString ExportFileName(const QString& tournamentName) { return SafeFileName(tournamentName + QStringLiteral(".csv")); }

QString StandingsPageFileName(const QString& tournamentName)
{
    return SafeFileName(tournamentName + QStringLiteral(" Standings.html"));
}

QStringList TournamentFileNames(const QString& tournamentName)
{
    // Heat numbers have one digit, so heat 9 stands for every heat.
    QStringList names;
    for (const char* title : {"Heat 9 Seeding", "Heat 9 PreReg", "Player Scores", "Team Scores", "Team Rosters",
                              "Awards"})
        names << ReportFileName(tournamentName, QString::fromLatin1(title));
    names << ExportFileName(tournamentName) << StandingsPageFileName(tournamentName);
    return names;
}

bool FileNameFits(const QString& fileName)
{
    // A file that replaces an earlier one is first written as
    // "<name>.XXXXXX" beside it.
    constexpr qsizetype kFileNameBytes = 255;
    constexpr qsizetype kTemporarySuffixBytes = 7;
    return fileName.toUtf8().size() + kTemporarySuffixBytes <= kFileNameBytes;
}

QString SaveWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(kWholeFileMode)) return file.errorString();
    WriteAll(file, bytes);
    return CommitWholeFile(file);
}

std::unique_ptr<ReportStream> OpenReportOutput(const QString& tournamentName, const QString& title)
{
    if (!g_printerPort.isEmpty()) {
        if (g_printerPort.endsWith(QChar(':'))) {
            auto queue = std::make_unique<QueueReportStream>(g_printerPort);
            if (!queue->Open()) return nullptr;
            return queue;
        }
        auto device = std::make_unique<FileReportStream>(g_printerPort, true);
        if (!device->Open()) return nullptr;
        return device;
    }
    const QString fileName = ReportFileName(tournamentName, title);
    ShowMessage(Format("Printing to file \"%s\".", fileName), QStringLiteral("Printing to File"), MsgIcon::Exclamation);
    auto file = std::make_unique<FileReportStream>(fileName, false);
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
