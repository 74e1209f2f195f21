#pragma once
// The output channel of every printed report.
//
// Reports are plain text. They go either to the selected printer, a CUPS
// queue whose port name is the queue's name and a colon ("lab:"), written
// through `lp -d QUEUE`, or, when g_printerPort is empty, to the text file
// "<tournament name> <title>.txt" in the working directory.

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QAction;
class QWidget;

// Port name of the selected printer; empty = reports go to text files.
extern QString g_printerPort;

// A port is usable when it ends with a colon (a printer queue or local port)
// or begins with a backslash (a network path).
bool IsUsablePrinterPort(const QString& port);

// A name with every character that cannot stand in a file name ('/', NUL)
// replaced by '_', so that a file always lands in the working directory.
QString SafeFileName(const QString& name);

// "<tournament name> <title>.txt", made safe.
QString ReportFileName(const QString& tournamentName, const QString& title);

// The comma-separated export of the player scores, "<name>.csv", made safe.
QString ExportFileName(const QString& tournamentName);

// The standings page, "<name> Standings.html", made safe.
QString StandingsPageFileName(const QString& tournamentName);

// Every file the program names after a tournament: each report's text file,
// the comma-separated export "<name>.csv" and the standings page
// "<name> Standings.html".
QStringList TournamentFileNames(const QString& tournamentName);

// True when a file of this name can be written in the working directory:
// together with the suffix of the temporary file it is first written under,
// its name in UTF-8 fits the file system's limit of 255 bytes.
bool FileNameFits(const QString& fileName);

// Writes bytes as the file path through a temporary file in the same folder
// that replaces path only once it is complete, so that a failure leaves an
// earlier file as it was. Empty when it was written, else the system's
// reason ("No space left on device", "File name too long").
QString SaveWholeFile(const QString& path, const QByteArray& bytes);

class ReportStream {
public:
    virtual ~ReportStream() = default;
    virtual void Write(const QString& text) = 0;
    ReportStream& operator<<(const QString& text)
    {
        Write(text);
        return *this;
    }
    // Finishes the report. False, after a message naming the target and the
    // reason, when the output failed; a report file then stays as it was
    // before the report began.
    virtual bool Close() = 0;
};

// Opens the output of one report of the named tournament. Null, after a message naming the target
// and the reason, when the target cannot be opened.
std::unique_ptr<ReportStream> OpenReportOutput(const QString& tournamentName, const QString& title);

// Opens the output, lets writer fill it and closes it. True when the whole
// report was written; the caller then shows its completion message.
bool PrintReport(const QString& tournamentName, const QString& title,
                 const std::function<void(ReportStream&)>& writer);

// Prints one report's text and, once it is written, tells the director so
// with completion ("Scores Printed!") under "Print Complete".
void PrintReportText(const QString& tournamentName, const QString& title, const QString& text,
                     const QString& completion);

// The Options menu commands; printToFile is the "Print to &File" item whose
// check mark shows that reports go to files.
void SelectPrinter(QWidget* parent, QAction* printToFile);
void PrintToFile(QAction* printToFile);
// Start-up: the default printer, or file output without a message.
void TakeDefaultPrinter(QAction* printToFile);
