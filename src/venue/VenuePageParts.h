#pragma once
// What the venue display's pages are built of, for the page files of this
// folder: the HTML document and its policy, tables, links, and what the
// phones and the projector show alike of an event (its games, its
// standings).

#include "venue/VenueEvent.h"
#include "venue/VenueHtml.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace venue_pages {

// ---------------------------------------------------------------------------
// Texts

QString Escaped(const QString& text);

// A name that may be written right to left, kept from reordering what
// surrounds it.
QString Isolated(const QString& name);

QString Link(const QString& address, const QString& text);
QString PlayerLink(int playerID, const QString& name);
QString HeatAddress(int heatNum);
QString HeatPlayersAddress(int heatNum);

// The game's number, linked to its board on the heat's page.
QString GameLink(int heatNum, int gameNum);

QString StateText(int status);

// A finished seat's result: "Win" alone in the win, "Draw" with others in
// it, "Loss"; nothing while no result is entered.
QString ResultText(const VenueGame& game, const VenueSeat& seat);

QString CentresText(const VenueGame& game, const VenueSeat& seat);
bool HasPowers(const VenueGame& game);
bool HasPowers(const VenueHeat& heat);

// A <time> element of the moment, shown in the format given.
QString TimeElement(long long seconds, const QString& shown);

QStringList PlayerHeadings(int numHeats);
QStringList TeamHeadings();

QString PageTitle(const QString& page, const VenueEvent& event);

// ---------------------------------------------------------------------------
// Documents

// The Content-Security-Policy of a page with this style sheet and, where
// it has one, this script.
QByteArray ContentPolicy(const char* sheet, const char* script);

// The parts of a page's document that differ from page to page.
struct DocumentParts {
    QString title;     // plain text
    QString head;      // elements after the style sheet
    QString bodyTag;   // "<body ...>"
    QString body;      // what the body holds
};

QByteArray DocumentHtml(const char* sheet, const DocumentParts& parts);

// ---------------------------------------------------------------------------
// Tables

struct Column {
    QString heading;
    QString cellClass;  // "name", "num", "result" or none
};

// A table whose cells are HTML already; the first column's empty heading
// is the rank.
QString TableHtml(const QString& attributes, const std::vector<Column>& columns, const std::vector<QStringList>& rows);

// The listing's columns: the names in column 1, ranks and numbers around.
std::vector<Column> ListingColumns(const QStringList& headings);

enum class Audience { Phone, Projector };

// The rows of a listing as cells of HTML, the names isolated (and on a
// phone linked to the player's page); only the columns listed in shown.
std::vector<QStringList> ListingCells(const Standings& standings, const std::vector<ListingRow>& rows, bool players,
                                      Audience audience, const std::vector<qsizetype>& shown);

// ---------------------------------------------------------------------------
// Boards

// The cards of the heat's games from first to one before end.
QString GameCards(const VenueHeat& heat, size_t first, size_t end, Audience audience);

}  // namespace venue_pages
