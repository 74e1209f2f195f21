// The command line: what each option means, what is refused with status 2,
// the folder the program works in, and the program itself answering
// --help, --version and a wrong option where there is no display.

#include "app/StartOptions.h"
#include "support/DbTest.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using Mode = StartOptions::Mode;

struct Started {
    int status = -1;
    QString out;
    QString err;
};

// Runs the program with arguments and no display at all.
Started RunProgram(const QStringList& arguments, const QString& folder = QDir::currentPath())
{
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QUORVANE_DATABASE"}) env.remove(name);
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(folder);
    program.start(QStringLiteral(QUORVANE_EXE), arguments);
    if (!program.waitForFinished(20000)) program.kill();
    return {program.exitCode(), QString::fromLocal8Bit(program.readAllStandardOutput()),
            QString::fromLocal8Bit(program.readAllStandardError())};
}

}  // namespace

TEST(CommandLine, ReadsEveryOptionAndRefusesWhatItDoesNotKnow)
{
    const QString pg = QStringLiteral("DRIVER={PostgreSQL Unicode};Server=db;Database=event;Pwd=secret");
    const struct {
        QStringList arguments;
        QString environment;
        Mode mode;
        QString folder;
        bool documents;
        QString database;  // empty: the file
        QString error;     // contained in the refusal; empty: accepted
    } cases[] = {
        {{}, {}, Mode::Window, {}, false, {}, {}},
        {{"Event"}, {}, Mode::Window, "Event", false, {}, {}},
        {{"--documents"}, {}, Mode::Window, {}, true, {}, {}},
        {{"--database", pg}, {}, Mode::Window, {}, false, pg, {}},
        {{"--database=" + pg, "Event"}, {}, Mode::Window, "Event", false, pg, {}},
        {{}, pg, Mode::Window, {}, false, pg, {}},
        {{"--database", "DRIVER=X"}, pg, Mode::Window, {}, false, "DRIVER=X", {}},
        {{"--display-only", "--tournament", "Spring Open", "--port", "9000", "--listen", "all"}, {}, Mode::DisplayOnly,
         {}, false, {}, {}},
        {{"--help"}, {}, Mode::Help, {}, false, {}, {}},
        {{"-h"}, {}, Mode::Help, {}, false, {}, {}},
        {{"--version"}, {}, Mode::Version, {}, false, {}, {}},
        {{"--databse", pg}, {}, Mode::Window, {}, false, {}, "Unknown option 'databse'"},
        {{"--database"}, {}, Mode::Window, {}, false, {}, "Missing value after '--database'"},
        {{"--database", " "}, {}, Mode::Window, {}, false, {}, "empty connect string"},
        {{"One", "Two"}, {}, Mode::Window, {}, false, {}, "given 2: \"One\", \"Two\""},
        {{"Event", "--documents"}, {}, Mode::Window, {}, false, {}, "either a folder or --documents"},
        {{"--port", "9000"}, {}, Mode::Window, {}, false, {}, "--port is an option of --display-only"},
        {{"--display-only", "--tournament"}, {}, Mode::Window, {}, false, {}, "Missing value after '--tournament'"},
        {{"--display-only", "--documents"}, {}, Mode::Window, {}, false, {}, "not of --display-only"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        QString error;
        const StartOptions options = ParseStartOptions(c.arguments, c.environment, error);
        if (!c.error.isEmpty()) {
            EXPECT_TRUE(error.contains(c.error)) << error.toStdString();
            EXPECT_FALSE(error.contains("secret"));
            continue;
        }
        EXPECT_EQ(error, QString());
        EXPECT_EQ(options.mode, c.mode);
        EXPECT_EQ(options.folder, c.folder);
        EXPECT_EQ(options.documents, c.documents);
        EXPECT_EQ(options.database.value_or(QString()), c.database);
    }
    QString error;
    const StartOptions display = ParseStartOptions({"--display-only", "--tournament", "Spring Open", "--port", "x",
                                                    "--listen", "all"},
                                                   {}, error);
    EXPECT_EQ(display.tournament, "Spring Open");
    EXPECT_EQ(display.port, "x");  // checked when the display starts
    EXPECT_EQ(display.listen, "all");
}

TEST(CommandLine, AFolderIsCreatedAndEnteredAndOneThatCannotBeIsRefusedSayingWhy)
{
    QTemporaryDir scratch;
    const QString previous = QDir::currentPath();
    const QString file = scratch.filePath("a file");
    QFile(file).open(QIODevice::WriteOnly);
    const QString locked = scratch.filePath("locked");
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    // The administrator may create a folder in a read-only one.
    const bool administrator = ::geteuid() == 0;
    const struct {
        QString folder;
        Mode mode;
        QString refusal;  // empty: entered
        bool asAdministrator = true;
    } cases[] = {
        {scratch.filePath("new/event"), Mode::Window, {}},
        {file, Mode::Window, "is a file, not a folder"},
        {locked + "/event", Mode::Window, "cannot be created", false},
        {locked, Mode::Window, "cannot be written to"},
        {locked, Mode::DisplayOnly, {}},
        {scratch.filePath("missing"), Mode::DisplayOnly, "does not exist"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        if (administrator && !c.asAdministrator) continue;
        StartOptions options;
        options.mode = c.mode;
        options.folder = c.folder;
        QDir::setCurrent(previous);
        const QString refusal = EnterWorkFolder(options);
        if (c.refusal.isEmpty()) {
            EXPECT_EQ(refusal, QString());
            EXPECT_EQ(QDir::currentPath(), QDir(c.folder).canonicalPath());
        } else {
            EXPECT_TRUE(refusal.contains(c.refusal)) << refusal.toStdString();
            EXPECT_TRUE(refusal.contains(QDir::toNativeSeparators(c.folder))) << refusal.toStdString();
            EXPECT_EQ(QDir::currentPath(), previous);
        }
    }
    QDir::setCurrent(previous);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(CommandLine, TheProgramAnswersWithoutADisplay)
{
    const struct {
        QStringList arguments;
        int status;
        QString out;
        QString err;
    } cases[] = {
        {{"--version"}, 0, "quorvane 3.12.19\n", {}},
        {{"--help"}, 0, "--display-only", {}},
        {{"--colour"}, 2, {}, "quorvane: Unknown option 'colour'.\n"},
        {{"a", "b"}, 2, {}, "quorvane: The program works in one folder, and was given 2: \"a\", \"b\".\n"},
        {{"--display-only", "--port", "0"}, 1, {}, "quorvane: The port must be a whole number from 1 to 65535"},
    };
    QTemporaryDir scratch;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const Started run = RunProgram(c.arguments, scratch.path());
        EXPECT_EQ(run.status, c.status) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(c.out)) << run.out.toStdString();
        if (c.err.isEmpty()) {
            EXPECT_EQ(run.err, QString());
        } else {
            EXPECT_TRUE(run.err.startsWith(c.err)) << run.err.toStdString();
        }
        EXPECT_EQ(run.err.count('\n'), c.err.isEmpty() ? 0 : 1);
    }
}
