// The venue display under the load of a room: the 210-player tournament of
// the tests with all nine heats played, served by the program's own server
// on loopback while the program's event loop goes on.
//
//   Event/Read                what the pages show, read from the store
//   Page/Cold/<page>          a page computed afresh after a change (the
//                             event read from the store and the page made)
//   Page/FromMemory/<page>    the same page served again from memory
//   Load/ResultEntryAlone     a result entered every 3 s with nothing else
//                             running: the longest entry and event-loop stall
//   Load/Mix/0                wrk, 50 connections, a mix of /standings,
//                             /heat/9/players, /player/ID and /display:
//                             requests a second, p50/p99, the event loop's
//                             longest stall, the memory growth
//   Load/Mix/1                the same while a result is entered every 3 s
//                             on the event loop, with the longest entry
//   Load/Standings            wrk on /standings alone
//   Load/NginxStandings       the same bytes served as a static file by nginx
//                             with the same client, results entered as
//                             beside ours: requests a second, ours to
//                             nginx's, the longest entry beside nginx
//
// QUORVANE_BENCH_SECONDS sets the length of each load (30 s by default).
// Needs wrk and nginx (make bench-display installs them).

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "games/GameResults.h"
#include "scoring/ScoringSystem.h"
#include "support/BenchDatabase.h"
#include "support/FullTournament.h"
#include "support/HttpClient.h"
#include "tournament/CurrentTournament.h"
#include "venue/VenueEvent.h"
#include "venue/VenueServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kConnections = 50;
constexpr int kResultEntryMs = 3000;

int LoadSeconds()
{
    const int seconds = qEnvironmentVariableIntValue("QUORVANE_BENCH_SECONDS");
    return seconds > 0 ? seconds : 30;
}

// The tournament of the tests with its ninth heat finished too.
struct Event {
    BenchDatabase database;
    testdata::FullTournament tournament = testdata::AddFullTournament();
    std::unique_ptr<VenueServer> server;

    Event()
    {
        RunAtomically([&] {
            const int heat = tournament.heats.back();
            for (CRecordset games(Sql("select id from Game where heatID = %d", heat)); !games.IsEOF(); games.MoveNext()) {
                const int game = games.GetInt(0);
                int seat = 0;
                for (CRecordset seats(Sql("select playerID from GamePlayer where gameID = %d order by powerID", game));
                     !seats.IsEOF(); seats.MoveNext(), ++seat)
                    ExecuteSQL(Sql("update GamePlayer set result = %d, years = 6, centers = %d where gameID = %d and "
                                   "playerID = %d",
                                   seat == game % 7 ? 1 : 0, seat == game % 7 ? 16 : 3, game, seats.GetInt(0)));
                ExecuteSQL(Sql("update Game set gameStat = 2 where id = %d", game));
            }
        });
        LoadTournament(tournament.tournamentID);
        server = std::make_unique<VenueServer>(CDatabase::Store().connectString, tournament.tournamentID,
                                               VenueServerSettings{0, false, 20});
    }
};

Event& TheEvent()
{
    static Event event;
    return event;
}

// A change at the desk: every page is computed afresh on its next load.
void ChangeTheStore()
{
    static int changes = 0;
    ExecuteSQL(Sql("update Tournament set description = '%s' where id = %d", Format("Change %d", ++changes),
                   TheEvent().tournament.tournamentID));
}

QByteArray PagePath(int page)
{
    switch (page) {
    case 0: return "/";
    case 1: return "/standings";
    case 2: return "/heat/9";
    case 3: return "/heat/9/players";
    case 4: return "/player/" + QByteArray::number(TheEvent().tournament.players[17]);
    default: return "/display";
    }
}

void TimeGet(benchmark::State& state, bool cold)
{
    Event& event = TheEvent();
    const QByteArray path = PagePath(int(state.range(0)));
    state.SetLabel(path.toStdString());
    HttpGet(event.server->Port(), path);
    for (auto _ : state) {
        if (cold) ChangeTheStore();
        QElapsedTimer clock;
        clock.start();
        const HttpReply reply = HttpGet(event.server->Port(), path);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (reply.status != 200) state.SkipWithError("the page was not served");
        state.counters["bytes"] = double(reply.body.size());
        state.counters["store_reads"] = double(event.server->Counts().storeReads);
    }
}

void PageCold(benchmark::State& state) { TimeGet(state, true); }

// Reading what the pages show from the store, on the benchmark's own
// connection.
void ReadEvent(benchmark::State& state)
{
    Event& event = TheEvent();
    for (auto _ : state) benchmark::DoNotOptimize(ReadVenueEvent(event.tournament.tournamentID));
}
BENCHMARK(ReadEvent)->Name("Event/Read")->Iterations(10)->Unit(benchmark::kMillisecond);
void PageFromMemory(benchmark::State& state) { TimeGet(state, false); }

BENCHMARK(PageCold)->Name("Page/Cold")->DenseRange(0, 5)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PageFromMemory)
    ->Name("Page/FromMemory")
    ->DenseRange(0, 5)
    ->Iterations(200)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// What wrk reports.
struct WrkResult {
    double requestsPerSecond = 0;
    double p50Ms = 0;
    double p99Ms = 0;
    long long errors = 0;
    QString output;
};

double Milliseconds(const QString& value)
{
    static const QRegularExpression number(QStringLiteral("^([0-9.]+)(us|ms|s)$"));
    const QRegularExpressionMatch m = number.match(value.trimmed());
    if (!m.hasMatch()) return 0;
    const double v = m.captured(1).toDouble();
    return m.captured(2) == "us" ? v / 1000 : m.captured(2) == "s" ? v * 1000 : v;
}

WrkResult ParseWrk(const QString& output)
{
    WrkResult result;
    result.output = output;
    const QRegularExpression rps(QStringLiteral("Requests/sec:\\s+([0-9.]+)"));
    const QRegularExpression p50(QStringLiteral("\\n\\s+50%\\s+(\\S+)"));
    const QRegularExpression p99(QStringLiteral("\\n\\s+99%\\s+(\\S+)"));
    const QRegularExpression errors(QStringLiteral("Non-2xx or 3xx responses:\\s+(\\d+)"));
    const QRegularExpression socketErrors(QStringLiteral("Socket errors: connect (\\d+), read (\\d+), write (\\d+), timeout (\\d+)"));
    result.requestsPerSecond = rps.match(output).captured(1).toDouble();
    result.p50Ms = Milliseconds(p50.match(output).captured(1));
    result.p99Ms = Milliseconds(p99.match(output).captured(1));
    result.errors = errors.match(output).captured(1).toLongLong();
    const QRegularExpressionMatch s = socketErrors.match(output);
    if (s.hasMatch())
        for (int i = 1; i <= 4; ++i) result.errors += s.captured(i).toLongLong();
    return result;
}

// Runs wrk against the address for the load's length, turning the event
// loop meanwhile; tick runs on the loop every millisecond.
WrkResult RunWrk(const QString& url, const QString& script, const std::function<void()>& tick = {})
{
    QTemporaryDir scratch;
    QStringList arguments{"-t2", Format("-c%d", kConnections), Format("-d%ds", LoadSeconds()), "--latency",
                          "--timeout", "5s"};
    if (!script.isEmpty()) {
        const QString path = scratch.filePath("mix.lua");
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(script.toUtf8());
        file.close();
        arguments << "-s" << path;
    }
    arguments << url;
    QProcess wrk;
    QEventLoop loop;
    QObject::connect(&wrk, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    if (tick) QObject::connect(&timer, &QTimer::timeout, tick);
    wrk.start(QStringLiteral("wrk"), arguments);
    if (!wrk.waitForStarted(5000)) return {};
    timer.start(1);
    loop.exec();
    timer.stop();
    return ParseWrk(QString::fromLocal8Bit(wrk.readAllStandardOutput() + wrk.readAllStandardError()));
}

void Report(benchmark::State& state, const WrkResult& result)
{
    state.counters["req_per_s"] = result.requestsPerSecond;
    state.counters["p50_ms"] = result.p50Ms;
    state.counters["p99_ms"] = result.p99Ms;
    state.counters["errors"] = double(result.errors);
    if (result.errors > 0 || qEnvironmentVariableIsSet("QUORVANE_BENCH_VERBOSE"))
        std::fprintf(stderr, "%s\n", result.output.toLocal8Bit().constData());
    if (result.requestsPerSecond <= 0) {
        std::fprintf(stderr, "%s\n", result.output.toLocal8Bit().constData());
        state.SkipWithError("wrk did not run (make bench-display installs it)");
    }
}

long long ResidentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    const QRegularExpression rss(QStringLiteral("VmRSS:\\s+(\\d+) kB"));
    return rss.match(QString::fromLatin1(status.readAll())).captured(1).toLongLong();
}

QString MixScript()
{
    QStringList players;
    for (int id : TheEvent().tournament.players) players << QString::number(id);
    return QStringLiteral(
               "local players = {%1}\n"
               "local n = 0\n"
               "request = function()\n"
               "  n = n + 1\n"
               "  local k = n %% 4\n"
               "  local path = \"/display\"\n"
               "  if k == 0 then path = \"/standings\"\n"
               "  elseif k == 1 then path = \"/heat/9/players\"\n"
               "  elseif k == 2 then path = \"/player/\" .. players[(n %% #players) + 1] end\n"
               "  return wrk.format(\"GET\", path)\n"
               "end\n")
        .arg(players.join(','))
        .replace(QStringLiteral("%%"), QStringLiteral("%"));
}

// The director's result entry: a seat of a finished game changes its
// centres and back, through the Games dialog's own path.
void EnterResult(int game, int& toggle)
{
    const GameSnapshot shown = ReadGameSnapshot(game);
    std::vector<GameRow> rows = ReadGameRows(game, ScoringSystem);
    rows[1].centers += (toggle++ % 2 == 0) ? 1 : -1;
    rows[2].centers -= (toggle % 2 == 0) ? 1 : -1;
    WriteGameRows(game, rows, shown);
}

// The program's event loop meanwhile: it ticks every millisecond and, when
// asked, enters a result every 3 s. A stall is a tick that came late, the
// time of a result entry included.
struct EventLoopWatch {
    explicit EventLoopWatch(bool enterResults) : entering(enterResults)
    {
        sinceTick.start();
        sinceEntry.start();
    }
    void Tick()
    {
        longestStallMs = std::max(longestStallMs, double(sinceTick.nsecsElapsed()) / 1e6 - 1.0);
        sinceTick.start();
        if (!entering || sinceEntry.elapsed() < kResultEntryMs) return;
        QElapsedTimer entry;
        entry.start();
        EnterResult(game, toggle);
        longestEntryMs = std::max(longestEntryMs, double(entry.nsecsElapsed()) / 1e6);
        ++entries;
        sinceEntry.start();
    }
    void Report(benchmark::State& state) const
    {
        state.counters["longest_stall_ms"] = longestStallMs;
        if (!entering) return;
        state.counters["longest_entry_ms"] = longestEntryMs;
        state.counters["results_entered"] = entries;
    }

    bool entering;
    int game = QueryInt(Sql("select id from Game where heatID = %d and gameNum = 1", TheEvent().tournament.heats.back()), -1);
    QElapsedTimer sinceTick;
    QElapsedTimer sinceEntry;
    double longestStallMs = 0;
    double longestEntryMs = 0;
    int entries = 0;
    int toggle = 0;
};

// Result entry with nothing else running, to compare with.
void ResultEntryAlone(benchmark::State& state)
{
    for (auto _ : state) {
        EventLoopWatch watch(true);
        QEventLoop loop;
        QTimer timer;
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, [&] { watch.Tick(); });
        QTimer::singleShot(LoadSeconds() * 1000, &loop, &QEventLoop::quit);
        timer.start(1);
        loop.exec();
        watch.Report(state);
    }
}

// The mix of pages a room asks for, with results entered meanwhile or not.
void LoadMix(benchmark::State& state)
{
    Event& event = TheEvent();
    const bool entering = state.range(0) != 0;
    state.SetLabel(entering ? "a result entered every 3 s" : "pages only");
    // Every page of the mix once, so that what is measured is the run.
    for (const QByteArray& path : {QByteArray("/standings"), QByteArray("/heat/9/players"), QByteArray("/display")})
        HttpGet(event.server->Port(), path);
    for (int player : event.tournament.players) HttpGet(event.server->Port(), "/player/" + QByteArray::number(player));
    for (auto _ : state) {
        const long long before = ResidentKilobytes();
        EventLoopWatch watch(entering);
        const WrkResult result =
            RunWrk(VenueAddress("127.0.0.1", event.server->Port()), MixScript(), [&] { watch.Tick(); });
        Report(state, result);
        watch.Report(state);
        state.counters["memory_growth_MB"] = double(ResidentKilobytes() - before) / 1024.0;
    }
}

double g_ourStandingsRate = 0;

void LoadStandings(benchmark::State& state)
{
    Event& event = TheEvent();
    for (auto _ : state) {
        const WrkResult result = RunWrk(VenueAddress("127.0.0.1", event.server->Port()) + "standings", {});
        Report(state, result);
        g_ourStandingsRate = result.requestsPerSecond;
    }
}

// nginx on a free loopback port, with a configuration of its own, serving
// the bytes of our /standings as a static file; stopped afterwards. Results
// are entered meanwhile as beside our server: what a machine this busy
// does to a commit without the display in the program.
void LoadNginxStandings(benchmark::State& state)
{
    Event& event = TheEvent();
    QTemporaryDir root;
    QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                           QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    const QByteArray page = HttpGet(event.server->Port(), "/standings").body;
    QFile html(root.filePath("standings"));
    html.open(QIODevice::WriteOnly);
    html.write(page);
    html.close();
    const int port = FreeLoopbackPort();
    QFile conf(root.filePath("nginx.conf"));
    conf.open(QIODevice::WriteOnly);
    conf.write(Format("daemon off;\nworker_processes 2;\npid %s/nginx.pid;\nerror_log stderr error;\n%s"
                      "events { worker_connections 1024; }\n"
                      "http {\n  access_log off;\n  sendfile on;\n  tcp_nopush on;\n  keepalive_requests 1000000;\n"
                      "  default_type text/html;\n  client_body_temp_path %s/body;\n  proxy_temp_path %s/proxy;\n"
                      "  fastcgi_temp_path %s/fastcgi;\n  uwsgi_temp_path %s/uwsgi;\n  scgi_temp_path %s/scgi;\n"
                      "  server {\n    listen 127.0.0.1:%d;\n    root %s;\n  }\n}\n",
                      root.path(), ::geteuid() == 0 ? "user root;\n" : "", root.path(), root.path(), root.path(),
                      root.path(), root.path(), port, root.path())
                   .toUtf8());
    conf.close();
    QProcess nginx;
    nginx.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    nginx.start(QStringLiteral("nginx"), {"-p", root.path(), "-c", root.filePath("nginx.conf")});
    if (!nginx.waitForStarted(5000)) {
        state.SkipWithError("nginx did not start (make bench-display installs it)");
        return;
    }
    for (int i = 0; i < 100 && HttpGet(port, "/standings").status != 200; ++i) QThread::msleep(20);
    if (HttpGet(port, "/standings").body != page) state.SkipWithError("nginx does not serve the page");
    for (auto _ : state) {
        EventLoopWatch watch(true);
        const WrkResult result = RunWrk(Format("http://127.0.0.1:%d/standings", port), {}, [&] { watch.Tick(); });
        Report(state, result);
        watch.Report(state);
        state.counters["ours_to_nginx"] = result.requestsPerSecond > 0 ? g_ourStandingsRate / result.requestsPerSecond : 0;
    }
    nginx.terminate();
    nginx.waitForFinished(5000);
}

BENCHMARK(ResultEntryAlone)->Name("Load/ResultEntryAlone")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(LoadMix)->Name("Load/Mix")->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(LoadStandings)->Name("Load/Standings")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(LoadNginxStandings)->Name("Load/NginxStandings")->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
