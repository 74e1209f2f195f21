#include "players/PlayerImport.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "ui/UiServices.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <utility>

namespace {

// A list of players is a few hundred kilobytes at most; a file far larger
// was chosen by mistake and is not read into memory.
constexpr qint64 kMaxImportBytes = 16 * 1024 * 1024;

// Windows-1252 where it differs from Latin-1: bytes 0x80 to 0x9F. The five
// bytes the code page leaves undefined keep their own code, as Windows reads
// them.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString FromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        text[i] = QChar(b >= 0x80 && b <= 0x9F ? kWindows1252High[b - 0x80] : char16_t(b));
    }
    return text;
}

std::optional<QString> Decode(QByteArrayView bytes, QStringConverter::Encoding encoding)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || !text.isValidUtf16()) return std::nullopt;
    return text;
}

bool IsBlankText(const QString& text) { return text.trimmed().isEmpty(); }

bool IsBlankRecord(const SpreadsheetRecord& record)
{
    for (const QString& cell : record.cells)
        if (!IsBlankText(cell)) return false;
    return true;
}

// Which cell holds which of a player's texts; -1 = none.
struct ImportColumns {
    int first = 0;
    int last = 1;
    int email = 2;
};

enum class ColumnRole { None, First, Last, Email };

// A heading as it may be spelt: case, blanks, hyphens and underscores aside.
ColumnRole RoleOfHeading(const QString& heading)
{
    QString key;
    for (QChar c : heading.trimmed().toLower())
        if (c != QChar(' ') && c != QChar('-') && c != QChar('_')) key += c;
    static const std::map<QString, ColumnRole> kHeadings = {
        {QStringLiteral("first"), ColumnRole::First},     {QStringLiteral("firstname"), ColumnRole::First},
        {QStringLiteral("givenname"), ColumnRole::First}, {QStringLiteral("last"), ColumnRole::Last},
        {QStringLiteral("lastname"), ColumnRole::Last},   {QStringLiteral("surname"), ColumnRole::Last},
        {QStringLiteral("familyname"), ColumnRole::Last}, {QStringLiteral("email"), ColumnRole::Email},
        {QStringLiteral("mail"), ColumnRole::Email}};
    const auto found = kHeadings.find(key);
    return found == kHeadings.end() ? ColumnRole::None : found->second;
}

// The columns a heading row names, when the row is one: it names at least
// one known column. The first column of each role counts.
std::optional<ImportColumns> ColumnsOfHeading(const SpreadsheetRecord& record)
{
    ImportColumns columns{-1, -1, -1};
    bool heading = false;
    for (int c = 0; c < int(record.cells.size()); ++c) {
        int* column = nullptr;
        switch (RoleOfHeading(record.cells[c])) {
        case ColumnRole::None: continue;
        case ColumnRole::First: column = &columns.first; break;
        case ColumnRole::Last: column = &columns.last; break;
        case ColumnRole::Email: column = &columns.email; break;
        }
        heading = true;
        if (*column < 0) *column = c;
    }
    if (!heading) return std::nullopt;
    return columns;
}

// A cell as one line of text: a line break inside it (a spreadsheet cell
// of two lines, read as '\n' whatever the file's line ends) becomes a
// blank, and blanks around it are dropped.
QString CellText(const SpreadsheetRecord& record, int column)
{
    if (column < 0 || column >= record.cells.size()) return {};
    return QString(record.cells[column]).replace(QChar('\n'), QChar(' ')).trimmed();
}

// A refusal sentence as a reason of the skipped-rows list: "The first name
// may have ..." becomes "the first name may have ...".
QString AsReason(QString sentence)
{
    if (sentence.endsWith(QChar('.'))) sentence.chop(1);
    if (!sentence.isEmpty()) sentence[0] = sentence[0].toLower();
    return sentence;
}

// Why a player's texts cannot be added, by the outcome of the check a player
// added by hand passes.
QString RefusalReason(PlayerTextsCheck check, const PlayerTexts& texts)
{
    switch (check) {
    case PlayerTextsCheck::Valid: break;
    case PlayerTextsCheck::NameMissing:
        if (texts.first.isEmpty() && texts.last.isEmpty())
            return QStringLiteral("the first and last names are missing");
        return texts.first.isEmpty() ? QStringLiteral("the first name is missing")
                                     : QStringLiteral("the last name is missing");
    case PlayerTextsCheck::BadName: return AsReason(PlayerNameProblem(texts));
    case PlayerTextsCheck::BadEmail: {
        const QString problem = PlayerEmailTextProblem(texts);
        return problem.isEmpty() ? QStringLiteral("the e-mail address is not valid") : AsReason(problem);
    }
    }
    return QStringLiteral("the player's texts cannot be stored");
}

// A player's name as the register compares names: its text columns ignore
// the case of the letters A to Z and of nothing else.
using RegisterKey = std::pair<QString, QString>;

QString FoldAsciiCase(QString text)
{
    for (QChar& c : text)
        if (c >= QChar('A') && c <= QChar('Z')) c = QChar(c.unicode() + ('a' - 'A'));
    return text;
}

RegisterKey KeyOf(const PlayerTexts& texts) { return {FoldAsciiCase(texts.first), FoldAsciiCase(texts.last)}; }

std::vector<PlayerTexts> RegisteredPlayers()
{
    std::vector<PlayerTexts> players;
    for (CRecordset rs(Sql("select first, last from Player")); !rs.IsEOF(); rs.MoveNext())
        players.push_back({rs.GetString(0), rs.GetString(1), QString()});
    return players;
}

const QString kImportFailedTitle = QStringLiteral("Import Failed");

void ReportImportFailure(const QString& fileName, const QString& reason)
{
    ShowMessage(Format("The players cannot be imported from %s:\n%s", fileName, reason), kImportFailedTitle,
                MsgIcon::Stop);
}

// The file's bytes, or nothing after a message saying why it cannot be read.
std::optional<QByteArray> ReadImportFile(const QString& path, const QString& fileName)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ReportImportFailure(fileName, file.errorString());
        return std::nullopt;
    }
    if (file.size() > kMaxImportBytes) {
        ReportImportFailure(fileName,
                            QStringLiteral("The file is larger than 16 MB, far too large for a list of players."));
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        ReportImportFailure(fileName, file.errorString());
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

std::optional<QString> DecodeSpreadsheetText(const QByteArray& bytes)
{
    const QByteArrayView view(bytes);
    if (view.startsWith("\xFF\xFE")) return Decode(view.sliced(2), QStringConverter::Utf16LE);
    if (view.startsWith("\xFE\xFF")) return Decode(view.sliced(2), QStringConverter::Utf16BE);
    if (view.contains('\0')) return std::nullopt;
    const QByteArrayView body = view.startsWith("\xEF\xBB\xBF") ? view.sliced(3) : view;
    if (std::optional<QString> text = Decode(body, QStringConverter::Utf8)) return text;
    return FromWindows1252(body);
}

QChar DetectSpreadsheetDelimiter(const QString& text)
{
    // Candidates in the order that wins a tie: a tab or a semicolon in a
    // row is seldom anything but a delimiter, a comma may be part of a name.
    const std::array<QChar, 3> candidates = {QChar('\t'), QChar(';'), QChar(',')};
    std::array<int, 3> counts{};
    bool quoted = false;
    bool content = false;
    for (const QChar c : text) {
        if (c == QChar('"')) {
            quoted = !quoted;
            content = true;
        } else if (!quoted && (c == QChar('\n') || c == QChar('\r'))) {
            if (content) break;
            counts = {};  // a blank row, such as ",,,", says nothing
        } else if (const auto k = std::find(candidates.begin(), candidates.end(), c);
                   !quoted && k != candidates.end()) {
            ++counts[size_t(k - candidates.begin())];
        } else if (!c.isSpace()) {
            content = true;
        }
    }
    // The first of equal counts wins; a row without any is comma-separated.
    const auto most = std::max_element(counts.begin(), counts.end());
    return *most == 0 ? QChar(',') : candidates[size_t(most - counts.begin())];
}

std::vector<SpreadsheetRecord> ParseSpreadsheet(const QString& text, QChar delimiter)
{
    std::vector<SpreadsheetRecord> records;
    SpreadsheetRecord record;
    QString cell;
    int line = 1;
    record.line = line;
    bool inQuotes = false;
    bool cellStarted = false;  // the cell has a character or an opening quote
    bool recordStarted = false;
    const auto endCell = [&] {
        record.cells << cell;
        cell.clear();
        cellStarted = false;
    };
    const auto endRecord = [&] {
        endCell();
        records.push_back(std::move(record));
        record = SpreadsheetRecord{};
        record.line = line;
        recordStarted = false;
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        const bool lineBreak = c == QChar('\n') || c == QChar('\r');
        // CR LF is one line break.
        if (c == QChar('\r') && i + 1 < n && text[i + 1] == QChar('\n')) ++i;
        if (inQuotes) {
            if (c == QChar('"')) {
                if (i + 1 < n && text[i + 1] == QChar('"')) {
                    cell += QChar('"');
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else if (lineBreak) {
                cell += QChar('\n');
                ++line;
            } else {
                cell += c;
            }
            continue;
        }
        if (lineBreak) {
            ++line;
            endRecord();
            continue;
        }
        recordStarted = true;
        if (c == delimiter) {
            endCell();
        } else if (c == QChar('"') && !cellStarted) {
            inQuotes = true;
            cellStarted = true;
        } else {
            // A quote inside an unquoted cell, or text after a closing
            // quote, is kept as it stands.
            cell += c;
            cellStarted = true;
        }
    }
    if (inQuotes) {
        record.quoteOpen = true;
        endRecord();
    } else if (recordStarted) {
        endRecord();
    }
    return records;
}

PlayerImportPlan PlanPlayerImport(const QByteArray& bytes, const std::vector<PlayerTexts>& registered)
{
    PlayerImportPlan plan;
    const std::optional<QString> text = DecodeSpreadsheetText(bytes);
    if (!text) {
        plan.failure = QStringLiteral("It is not a text file. Save the spreadsheet as CSV (comma-separated values) "
                                      "and import that file.");
        return plan;
    }
    const std::vector<SpreadsheetRecord> records = ParseSpreadsheet(*text, DetectSpreadsheetDelimiter(*text));

    size_t next = 0;
    while (next < records.size() && !records[next].quoteOpen && IsBlankRecord(records[next])) ++next;
    ImportColumns columns;
    // A record whose quotation mark is never closed is no heading: it is
    // skipped with its reason below.
    if (next < records.size() && !records[next].quoteOpen) {
        if (const std::optional<ImportColumns> named = ColumnsOfHeading(records[next])) {
            if (named->first < 0 || named->last < 0) {
                plan.failure = QStringLiteral("Its first line names columns, but not both a first-name and a "
                                              "last-name column (such as First Name and Last Name).");
                return plan;
            }
            columns = *named;
            ++next;
        }
    }

    std::set<RegisterKey> registeredKeys;
    for (const PlayerTexts& player : registered) registeredKeys.insert(KeyOf(player));
    std::map<RegisterKey, int> importedOnLine;
    for (; next < records.size(); ++next) {
        const SpreadsheetRecord& record = records[next];
        const auto skip = [&](const QString& reason) { plan.skipped.push_back({record.line, reason}); };
        if (record.quoteOpen) {
            skip(QStringLiteral("a quotation mark is not closed before the end of the file"));
            continue;
        }
        if (IsBlankRecord(record)) continue;
        const PlayerTexts texts = StoredPlayerTexts(
            {CellText(record, columns.first), CellText(record, columns.last), CellText(record, columns.email)});
        const PlayerTextsCheck check = CheckPlayerTexts(texts);
        if (check != PlayerTextsCheck::Valid) {
            skip(RefusalReason(check, texts));
            continue;
        }
        const RegisterKey key = KeyOf(texts);
        const QString name = PlayerDisplayName(texts.first, texts.last);
        if (registeredKeys.count(key)) {
            skip(Format("%s is already registered", name));
            continue;
        }
        if (const auto earlier = importedOnLine.find(key); earlier != importedOnLine.end()) {
            skip(Format("%s is already on line %d", name, earlier->second));
            continue;
        }
        importedOnLine.emplace(key, record.line);
        plan.players.push_back(texts);
    }
    return plan;
}

QString SkippedRowsText(const std::vector<SkippedImportRow>& skipped)
{
    QStringList lines;
    for (const SkippedImportRow& row : skipped) lines << Format("line %d: %s", row.line, row.reason);
    return lines.join(QChar('\n'));
}

void InsertPlayers(const std::vector<PlayerTexts>& players)
{
    RunAtomically([&] {
        for (const PlayerTexts& player : players) InsertPlayer(player);
    });
}

int ImportPlayersFromFile(QWidget* parent)
{
    const QString path = Services().ChooseFileToOpen(parent, QStringLiteral("Import Players"),
                                                     QStringLiteral("Spreadsheets saved as text (*.csv *.txt)"));
    if (path.isEmpty()) return 0;
    const QString fileName = QFileInfo(path).fileName();
    const std::optional<QByteArray> bytes = ReadImportFile(path, fileName);
    if (!bytes) return 0;
    const PlayerImportPlan plan = PlanPlayerImport(*bytes, RegisteredPlayers());
    if (!plan.failure.isEmpty()) {
        ReportImportFailure(fileName, plan.failure);
        return 0;
    }
    MessageOptions options;
    options.details = SkippedRowsText(plan.skipped);
    if (plan.players.empty()) {
        ShowMessage(Format("No player can be imported from %s.", fileName), QStringLiteral("Nothing to Import"),
                    MsgIcon::Exclamation, MsgButtons::Ok, options);
        return 0;
    }
    const int count = int(plan.players.size());
    QString question = Format("Import %d player%s from %s?", count, PluralSuffix(count), fileName);
    if (const int skipped = int(plan.skipped.size()); skipped > 0)
        question += Format("\n%d row%s will be skipped.", skipped, PluralSuffix(skipped));
    // Yes is the default: the question adds players and removes nothing, and
    // importing the same file again only skips its rows as duplicates.
    options.defaultAnswer = MsgAnswer::Yes;
    if (ShowMessage(question, QStringLiteral("Import Players"), MsgIcon::Question, MsgButtons::YesNo, options) !=
        MsgAnswer::Yes)
        return 0;
    InsertPlayers(plan.players);
    ShowMessage(Format("%d player%s imported from %s.", count, PluralSuffix(count), fileName),
                QStringLiteral("Import Complete"), MsgIcon::Exclamation);
    return count;
}
