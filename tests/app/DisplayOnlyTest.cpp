// quorvane --display-only: the program without a window serving the venue
// display of a tournament file beside a desk that goes on writing to it.

#include "db/Database.h"
#include "support/DbTest.h"
#include "support/HttpClient.h"
#include "support/TestData.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace testdata;

namespace {

class DisplayOnly : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        m_system = AddSystem();
    }

    int AddEvent(const QString& name)
    {
        const int tournament = AddTournament({.name = name, .systemID = m_system});
        const int game = AddGame(AddHeat(tournament, 1), 1, 1);
        for (int s = 0; s < 7; ++s) AddSeat(game, AddPlayer(name, Format("Player %d", s)), s);
        return tournament;
    }

    void Start(QProcess& program, const QStringList& arguments, const QString& folder = QDir::currentPath())
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QUORVANE_DATABASE"})
            env.remove(variable);
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(folder);
        program.start(QStringLiteral(QUORVANE_EXE), QStringList{"--display-only"} + arguments);
        ASSERT_TRUE(program.waitForStarted(10000));
    }

    int m_system = 0;
};

QByteArray FileBytes(const QString& name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

TEST_F(DisplayOnly, ServesTheOnlyTournamentBesideADeskUntilSigtermAndNeverWritesTheFile)
{
    AddEvent(QStringLiteral("Spring Open"));
    const QByteArray stored = FileBytes("Orvex.mdb");
    const int port = FreeLoopbackPort();
    QProcess program;
    Start(program, {"--port", QString::number(port)});
    QByteArray out;
    for (int i = 0; i < 100 && !out.contains('\n'); ++i) {
        program.waitForReadyRead(100);
        out += program.readAllStandardOutput();
    }
    EXPECT_EQ(out, "The venue display of \"Spring Open\" serves at http://127.0.0.1:" + QByteArray::number(port) + "/\n");
    EXPECT_TRUE(HttpGet(port, "/").body.contains("Spring Open"));
    EXPECT_EQ(HttpGet(port, "/heat/1").status, 200);
    EXPECT_EQ(FileBytes("Orvex.mdb"), stored) << "the display wrote to the file";
    EXPECT_FALSE(QFile::exists("Orvex.mdb.lock"));

    // The desk goes on writing; the next load shows it.
    AddPlayer(QStringLiteral("Late"), QStringLiteral("Comer"));
    Exec(Sql("update Tournament set name = 'Spring Open Final'"));
    EXPECT_TRUE(HttpGet(port, "/").body.contains("Spring Open Final"));

    ::kill(pid_t(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(program.readAllStandardError(), QByteArray());
    EXPECT_EQ(HttpGet(port, "/").status, 0) << "the port is free again";
}

TEST_F(DisplayOnly, RefusesWhatItCannotShowInOneLineWithStatus1)
{
    const int taken = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ASSERT_EQ(::bind(taken, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::listen(taken, 1);
    ::getsockname(taken, reinterpret_cast<sockaddr*>(&address), &size);
    const QString takenPort = QString::number(ntohs(address.sin_port));
    QTemporaryDir empty;

    const struct {
        const char* what;
        std::function<void()> prepare;
        QStringList arguments;
        QString error;
    } cases[] = {
        {"no tournament", [] {}, {}, "The database holds no tournament to show."},
        {"a folder without the file", [] {}, {empty.path()}, "There is no tournament database Orvex.mdb in"},
        {"two and no name",
         [&] {
             AddEvent("Alpha Cup");
             AddEvent("Beta Cup");
         },
         {},
         "The database holds 2 tournaments: \"Alpha Cup\", \"Beta Cup\". Name the one to show with --tournament"},
        {"no such name", [] {}, {"--tournament", "Gamma Cup"},
         "There is no tournament \"Gamma Cup\". The database holds \"Alpha Cup\", \"Beta Cup\"."},
        {"a port in use", [] {}, {"--tournament", "beta cup", "--port", takenPort},
         "The port " + takenPort + " is already in use"},
        {"a port out of range", [] {}, {"--port", "65536"}, "The port must be a whole number from 1 to 65535"},
        {"networks it does not know", [] {}, {"--listen", "everywhere"}, "--listen takes \"local\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.prepare();
        QProcess program;
        Start(program, c.arguments);
        ASSERT_TRUE(program.waitForFinished(20000));
        EXPECT_EQ(program.exitCode(), 1);
        const QString err = QString::fromLocal8Bit(program.readAllStandardError());
        EXPECT_TRUE(err.startsWith("quorvane: " + c.error)) << err.toStdString();
        EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
        EXPECT_EQ(program.readAllStandardOutput(), QByteArray());
    }
    ::close(taken);
}
