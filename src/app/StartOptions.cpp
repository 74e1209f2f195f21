#include "app/StartOptions.h"

#include "db/Database.h"
#include "db/DatabaseFile.h"
#include "db/Format.h"
#include "db/StoreAddress.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>

namespace {

const QString kDatabaseOption = QStringLiteral("database");
const QString kDocumentsOption = QStringLiteral("documents");
const QString kDisplayOnlyOption = QStringLiteral("display-only");
const QString kTournamentOption = QStringLiteral("tournament");
const QString kPortOption = QStringLiteral("port");
const QString kListenOption = QStringLiteral("listen");

// The folder of the documents folder the menu entry starts the program in.
const QString kDocumentsFolderName = QStringLiteral("Quorvane");

// Every option of the command line, as --help lists them.
void AddOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Runs tournaments of the seven-player strategy board game: players, heats, seeding, results "
                       "and standings. Without a folder it works on Orvex.mdb in the folder it is started in."));
    parser.addPositionalArgument(QStringLiteral("FOLDER"),
                                 QStringLiteral("Work on Orvex.mdb in FOLDER (created when missing)."),
                                 QStringLiteral("[FOLDER]"));
    parser.addOptions({
        {kDocumentsOption,
         QStringLiteral("Work in the folder \"Quorvane\" of your documents folder (created when missing), as the "
                        "menu entry starts the program.")},
        {kDatabaseOption,
         QStringLiteral("Work on the shared PostgreSQL database of the ODBC connect string CONNECT, as in "
                        "\"DRIVER={PostgreSQL Unicode};Server=...;Port=...;Database=...;Uid=...;Pwd=...\" "
                        "(also read from the environment variable QUORVANE_DATABASE)."),
         QStringLiteral("CONNECT")},
        {kDisplayOnlyOption,
         QStringLiteral("Serve the venue display's pages (live seating and standings for phones and the projector) "
                        "without a window, until stopped (Ctrl+C).")},
        {kTournamentOption,
         QStringLiteral("With --display-only: the tournament to show; needed when the database holds several."),
         QStringLiteral("NAME")},
        {kPortOption, QStringLiteral("With --display-only: the port to serve on (1-65535; 8080 when not given)."),
         QStringLiteral("N")},
        {kListenOption,
         QStringLiteral("With --display-only: \"local\" serves this computer only (the default), \"all\" every "
                        "network of this computer."),
         QStringLiteral("local|all")},
    });
    parser.addHelpOption();
    parser.addVersionOption();
}

// A command-line text as it may be printed: a password in it removed.
QString Printable(const QString& text) { return WithoutPassword(text, text); }

}  // namespace

StartOptions ParseStartOptions(const QStringList& arguments, const QString& environmentDatabase, QString& error)
{
    StartOptions options;
    error.clear();
    QCommandLineParser parser;
    AddOptions(parser);
    if (!parser.parse(QStringList{QStringLiteral("quorvane")} + arguments)) {
        error = Printable(parser.errorText());
        return options;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        options.mode = StartOptions::Mode::Help;
        return options;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        options.mode = StartOptions::Mode::Version;
        return options;
    }
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1) {
        QStringList named;
        for (const QString& folder : folders) named << Format("\"%s\"", Printable(folder));
        error = Format("The program works in one folder, and was given %d: %s.", folders.size(),
                       named.join(QStringLiteral(", ")));
        return options;
    }
    if (folders.size() == 1 && folders.first().isEmpty()) {
        error = QStringLiteral("The folder given is empty.");
        return options;
    }
    options.folder = folders.value(0);
    options.documents = parser.isSet(kDocumentsOption);
    if (options.documents && !options.folder.isEmpty()) {
        error = QStringLiteral("Give either a folder or --documents, not both: the program works in one folder.");
        return options;
    }

    if (parser.isSet(kDatabaseOption)) {
        const QStringList values = parser.values(kDatabaseOption);
        if (values.size() > 1) {
            error = QStringLiteral("--database was given more than once.");
            return options;
        }
        if (values.first().trimmed().isEmpty()) {
            error = QStringLiteral("--database was given an empty connect string.");
            return options;
        }
        options.database = values.first();
    } else if (!environmentDatabase.trimmed().isEmpty()) {
        options.database = environmentDatabase;
    }

    const bool displayOnly = parser.isSet(kDisplayOnlyOption);
    for (const QString& name : {kTournamentOption, kPortOption, kListenOption}) {
        if (!parser.isSet(name)) continue;
        if (!displayOnly) {
            error = Format("--%s is an option of --display-only.", name);
            return options;
        }
        if (parser.values(name).size() > 1) {
            error = Format("--%s was given more than once.", name);
            return options;
        }
    }
    if (displayOnly) {
        if (options.documents) {
            error = QStringLiteral("--documents is an option of the window, not of --display-only: name the folder "
                                   "to show instead.");
            return options;
        }
        options.mode = StartOptions::Mode::DisplayOnly;
        options.tournament = parser.value(kTournamentOption);
        options.port = parser.value(kPortOption);
        options.listen = parser.value(kListenOption);
    }
    return options;
}

QString StartHelpText()
{
    QCommandLineParser parser;
    AddOptions(parser);
    return parser.helpText() +
           QStringLiteral("\nExit status: 0 when the program ended normally, 1 when it could not start (the database "
                          "cannot be opened or is in use, the port is taken, no such tournament), 2 for a command "
                          "line it does not understand.\n");
}

QString StartVersionText() { return Format("quorvane %s\n", QStringLiteral(QUORVANE_VERSION)); }

QString WorkFolderOf(const StartOptions& options)
{
    if (options.documents) {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        return QDir(documents.isEmpty() ? QDir::homePath() : documents).filePath(kDocumentsFolderName);
    }
    return options.folder;
}

QString EnterWorkFolder(const StartOptions& options)
{
    const QString folder = WorkFolderOf(options);
    if (folder.isEmpty()) return {};
    const QString shown = QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath());
    const QFileInfo info(folder);
    const bool window = options.mode == StartOptions::Mode::Window;
    if (info.exists() && !info.isDir()) return Format("The folder %s cannot be used: it is a file, not a folder.", shown);
    if (!info.exists()) {
        if (!window) return Format("The folder %s does not exist.", shown);
        // mkpath does not say why it failed; the system does.
        errno = 0;
        if (!QDir().mkpath(folder)) {
            const int why = errno;
            return Format("The folder %s cannot be created: %s.", shown,
                          why ? QString::fromLocal8Bit(std::strerror(why)) : QStringLiteral("the system refused it"));
        }
    }
    if (window && IsWriteProtected(folder))
        return Format("The folder %s cannot be written to (permission denied), so the tournament database cannot be "
                      "kept in it.",
                      shown);
    if (!QDir::setCurrent(folder)) return Format("The folder %s cannot be opened (permission denied).", shown);
    return {};
}

QString OneLine(const QString& message)
{
    static const QRegularExpression breaks(QStringLiteral("\\s*\\n\\s*"));
    return QString(message).replace(breaks, QStringLiteral(" ")).trimmed();
}

void PrintError(const QString& message)
{
    std::fputs((QStringLiteral("quorvane: ") + OneLine(message) + QChar('\n')).toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

void PrintOutput(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}
