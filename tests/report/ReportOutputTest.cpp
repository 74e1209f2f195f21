#include "report/ReportOutput.h"
#include "support/DbTest.h"
#include "support/FileSizeLimit.h"
#include "tournament/CurrentTournament.h"

#include <QAction>
#include <QDir>
#include <QFile>

namespace {

// Puts a stand-in for the CUPS client's lp on the PATH: it stores what it is
// sent (and its arguments) in the working directory, or fails like lp does.
class FakeLp {
public:
    explicit FakeLp(const QString& folder, int exitStatus = 0) : m_previousPath(qgetenv("PATH"))
    {
        const QString bin = folder + "/bin";
        QDir().mkpath(bin);
        QFile script(bin + "/lp");
        script.open(QIODevice::WriteOnly);
        if (exitStatus == 0)
            script.write("#!/bin/sh\necho \"$@\" > lp-args.txt\ncat > lp-input.txt\n");
        else
            script.write("#!/bin/sh\ncat > /dev/null\necho \"lp: The printer or class does not exist.\"\nexit 1\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", (bin + ":").toUtf8() + m_previousPath);
    }
    ~FakeLp() { qputenv("PATH", m_previousPath); }

private:
    QByteArray m_previousPath;
};

class PathWithoutLp {
public:
    explicit PathWithoutLp(const QString& folder) : m_previousPath(qgetenv("PATH")) { qputenv("PATH", folder.toUtf8()); }
    ~PathWithoutLp() { qputenv("PATH", m_previousPath); }

private:
    QByteArray m_previousPath;
};

void WriteTwoPages(ReportStream& out) { out << "Page one\n" << "\f" << "Page two\n"; }

}  // namespace

class ReportToFile : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        CurrentTournament.name = "Spring Open";
    }
};

TEST_F(ReportToFile, NamesTheFileAfterTheTournamentAndTheReport)
{
    ui().Expect("Printing to File")
        .Text("Printing to file \"Spring Open Player Scores.txt\".")
        .Icon(MsgIcon::Exclamation)
        .Buttons(MsgButtons::Ok);
    EXPECT_TRUE(PrintReport(CurrentTournament.name, "Player Scores", WriteTwoPages));
    EXPECT_EQ(ReadFile("Spring Open Player Scores.txt"), "Page one\n\fPage two\n");
}

TEST_F(ReportToFile, OverwritesAnEarlierReport)
{
    ui().Expect("Printing to File");
    PrintReport(CurrentTournament.name, "Awards", [](ReportStream& out) { out << "a much longer first version of the report\n"; });
    ui().Expect("Printing to File");
    PrintReport(CurrentTournament.name, "Awards", [](ReportStream& out) { out << "second\n"; });
    EXPECT_EQ(ReadFile("Spring Open Awards.txt"), "second\n");
}

TEST_F(ReportToFile, KeepsTheFileInTheWorkingDirectory)
{
    CurrentTournament.name = "Open 2026/27";
    EXPECT_EQ(ReportFileName(CurrentTournament.name, "Heat 1 Seeding"), "Open 2026_27 Heat 1 Seeding.txt");
    CurrentTournament.name = "../../etc/x";
    EXPECT_EQ(ReportFileName(CurrentTournament.name, "Awards"), ".._.._etc_x Awards.txt");
    ui().Expect("Printing to File").Text("Printing to file \".._.._etc_x Awards.txt\".");
    EXPECT_TRUE(PrintReport(CurrentTournament.name, "Awards", WriteTwoPages));
    EXPECT_TRUE(QFile::exists(".._.._etc_x Awards.txt"));
}

TEST_F(ReportToFile, ThatCannotBeWrittenIsReportedAndNotCompleted)
{
    // A device that refuses every write, as a full disk does.
    g_printerPort = "/dev/full";
    ui().Expect("Print Failed").Icon(MsgIcon::Stop);
    EXPECT_FALSE(PrintReport(CurrentTournament.name, "Awards", WriteTwoPages));
    ASSERT_EQ(ui().Messages().size(), 1u);
    EXPECT_TRUE(ui().Messages()[0].text.contains("/dev/full"));
}

TEST_F(ReportToFile, ThatCannotBeOpenedIsReportedAndSkipped)
{
    QDir().mkdir("Spring Open Awards.txt");  // the name is taken by a folder
    ui().Expect("Printing to File");
    ui().Expect("Print Failed").Icon(MsgIcon::Stop);
    bool wrote = false;
    EXPECT_FALSE(PrintReport(CurrentTournament.name, "Awards", [&](ReportStream&) { wrote = true; }));
    EXPECT_FALSE(wrote);
    ASSERT_EQ(ui().Messages().size(), 2u);
    EXPECT_TRUE(ui().Messages()[1].text.contains("Spring Open Awards.txt"));
}

TEST_F(ReportToFile, ThatFailsLeavesTheEarlierReportAndSaysWhy)
{
    ui().Expect("Printing to File");
    ASSERT_TRUE(PrintReport(CurrentTournament.name, "Awards", [](ReportStream& out) { out << "earlier\n"; }));
    struct Case {
        const char* what;
        QString tournament;
        rlim_t diskRoom;  // bytes a file may take
        const char* reason;
    };
    const Case cases[] = {
        {"full disk", "Spring Open", 20, "File too large"},
        {"name too long", QString(300, QChar('n')), RLIM_INFINITY, "File name too long"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FileSizeLimit disk(c.diskRoom);
        ASSERT_TRUE(disk.IsSet());
        ui().Expect("Printing to File");
        ui().Expect("Print Failed").Icon(MsgIcon::Stop);
        EXPECT_FALSE(PrintReport(c.tournament, "Awards", [](ReportStream& out) {
            out << QString(100, QChar('x')) << "\n";
        }));
        EXPECT_TRUE(ui().Messages().back().text.endsWith(QString(":\n") + c.reason)) << ui().Messages().back().text.toStdString();
    }
    EXPECT_EQ(ReadFile("Spring Open Awards.txt"), "earlier\n");
    EXPECT_EQ(QDir(PathOf("")).entryList(QDir::Files), QStringList({"Orvex.mdb", "Spring Open Awards.txt"}));
}

TEST_F(ReportToFile, EveryFileOfTheLongestAcceptedNameCanBeWrittenAndReplaced)
{
    // 229 bytes: the longest name the rules accept, when each report's title
    // and the temporary suffix are added.
    const QString name = QString::fromUtf8("\U0001F600").repeated(57) + "x";
    for (const QString& file : TournamentFileNames(name)) {
        EXPECT_TRUE(FileNameFits(file)) << file.toStdString();
        EXPECT_EQ(SaveWholeFile(file, "first\n"), "");
        EXPECT_EQ(SaveWholeFile(file, "second\n"), "");  // replacing goes through "<name>.XXXXXX"
        EXPECT_EQ(ReadFile(file), "second\n");
    }
    EXPECT_EQ(TournamentFileNames(name).size(), 8);
    EXPECT_FALSE(FileNameFits(ReportFileName(name + "x", "Heat 9 Seeding")));
    EXPECT_TRUE(FileNameFits(ReportFileName(name + "x", "Awards")));
}

class ReportToPrinter : public DbTest {};

TEST_F(ReportToPrinter, SendsThePlainTextToTheQueue)
{
    FakeLp lp(PathOf(""));
    g_printerPort = "lab:";
    EXPECT_TRUE(PrintReport(CurrentTournament.name, "Awards", WriteTwoPages));  // no file message for a printer
    EXPECT_EQ(ReadFile("lp-input.txt"), "Page one\n\fPage two\n");
    EXPECT_EQ(ReadFile("lp-args.txt"), "-d lab\n");
}

TEST_F(ReportToPrinter, ThatRefusesTheJobIsReported)
{
    FakeLp lp(PathOf(""), 1);
    g_printerPort = "gone:";
    ui().Expect("Print Failed").Icon(MsgIcon::Stop);
    EXPECT_FALSE(PrintReport(CurrentTournament.name, "Awards", WriteTwoPages));
    ASSERT_EQ(ui().Messages().size(), 1u);
    EXPECT_TRUE(ui().Messages()[0].text.contains("gone:"));
    EXPECT_TRUE(ui().Messages()[0].text.contains("does not exist"));
}

TEST_F(ReportToPrinter, WithoutThePrintCommandIsReported)
{
    PathWithoutLp path(PathOf(""));
    g_printerPort = "lab:";
    ui().Expect("Print Failed").Icon(MsgIcon::Stop);
    EXPECT_EQ(OpenReportOutput(CurrentTournament.name, "Awards"), nullptr);
}

class PrinterSelection : public DbTest {
protected:
    QAction printToFile{"Print to &File"};
    void SetUp() override
    {
        DbTest::SetUp();
        printToFile.setCheckable(true);
    }
};

TEST_F(PrinterSelection, AcceptsQueuesAndNetworkPaths)
{
    EXPECT_TRUE(IsUsablePrinterPort("lab:"));
    EXPECT_TRUE(IsUsablePrinterPort("LPT1:"));
    EXPECT_TRUE(IsUsablePrinterPort("\\\\server\\printer"));
    EXPECT_FALSE(IsUsablePrinterPort("lab"));
    EXPECT_FALSE(IsUsablePrinterPort(""));
}

TEST_F(PrinterSelection, TakesAChosenQueue)
{
    printToFile.setChecked(true);
    ui().QueuePrinterChoice("lab:");
    SelectPrinter(nullptr, &printToFile);
    EXPECT_EQ(g_printerPort, "lab:");
    EXPECT_FALSE(printToFile.isChecked());
}

TEST_F(PrinterSelection, FallsBackToFilesForAnUnusablePrinter)
{
    for (const QString& choice : {QString("lab"), QString()}) {  // a bare name; a cancelled dialog
        g_printerPort = "old:";
        ui().QueuePrinterChoice(choice);
        ui().Expect("Printer Support Unavailable")
            .Text("Selected printer cannot be used.")
            .Icon(MsgIcon::Exclamation);
        SelectPrinter(nullptr, &printToFile);
        EXPECT_EQ(g_printerPort, "");
        EXPECT_TRUE(printToFile.isChecked());
    }
}

TEST_F(PrinterSelection, PrintToFileSwitchesToFilesSilently)
{
    g_printerPort = "lab:";
    PrintToFile(&printToFile);
    EXPECT_EQ(g_printerPort, "");
    EXPECT_TRUE(printToFile.isChecked());
    PrintToFile(&printToFile);
    EXPECT_TRUE(printToFile.isChecked());
}

TEST_F(PrinterSelection, StartsWithTheDefaultPrinterOrFilesWithoutAMessage)
{
    ui().SetDefaultPrinterPort("lab:");
    TakeDefaultPrinter(&printToFile);
    EXPECT_EQ(g_printerPort, "lab:");
    EXPECT_FALSE(printToFile.isChecked());
    ui().SetDefaultPrinterPort("lab");
    TakeDefaultPrinter(&printToFile);
    EXPECT_EQ(g_printerPort, "");
    EXPECT_TRUE(printToFile.isChecked());
}
