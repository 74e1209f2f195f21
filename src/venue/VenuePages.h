#pragma once
// The venue display's pages: what players' phones and the projector in the
// room are sent, computed from an event read from the store (VenueEvent.h)
// by plain functions, with no server and no window.
//
// Every page is one self-contained HTML5 document in UTF-8: its style inline,
// nothing loaded from elsewhere, readable without scripts, every text
// escaped, no e-mail address. It says when it was produced and reloads
// itself (phones every 30 s; the projector after each screen).
//
//   /                 the tournament, the heat being played, links to the rest
//   /heat/N           heat N board by board, each game's state and results
//   /heat/N/players   the players of heat N A to Z with game and power
//   /standings        the standings as the Scores dialog lists them, and
//                     the teams' where the tournament has teams
//   /player/ID        one player's heats, running total and rank
//   /display          the projector: the current heat's boards and the
//                     standings, screen after screen (?screen=K)

#include "venue/VenueEvent.h"

#include <QByteArray>
#include <QString>

#include <vector>

// What a page shows beyond the event.
struct VenuePageSettings {
    // The address the projector's QR code shows ("http://192.168.1.20:8080/").
    QString mainAddress;
    // How long the projector shows each screen, 5 .. 300 seconds.
    int secondsPerScreen = 20;
    // When the page is produced: seconds since 1970-01-01 00:00 UTC, shown
    // in local time.
    long long producedAtSeconds = 0;
};

// A page as the server sends it.
struct VenuePage {
    int status = 200;  // 200; 404 for a heat, player or path the event lacks
    QByteArray body;   // the HTML document, UTF-8
    // The Content-Security-Policy header of the page: nothing from
    // elsewhere, no script but the page's own.
    QByteArray contentSecurityPolicy;
};

// Which page a request names.
struct VenueRoute {
    enum class Kind { Home, Heat, HeatPlayers, Standings, Player, Display, NotFound };
    Kind kind = Kind::NotFound;
    // The heat (Heat, HeatPlayers), the player (Player) or the screen of the
    // display, counted from 1.
    int number = 0;
};

// The route of a request's path, as the server received it with its
// percent-escapes decoded, and of the display's "screen" argument (empty
// when there is none: the first screen). A number is 1 to 10 decimal digits
// with a value from 1 to 2147483647; anything else names no page.
VenueRoute ParseVenueRoute(const QByteArray& path, const QByteArray& screenArgument = {});

// The page a route names in the event; a 404 page when the event has no
// such heat or player, or the route names no page.
VenuePage VenuePageFor(const VenueEvent& event, const VenueRoute& route, const VenuePageSettings& settings);

// The short page of an answer that shows no event: status 404 (no such
// page), 405 (a method other than GET and HEAD), 503 (the tournament cannot
// be read just now); text says what happened in a sentence.
VenuePage VenueStatusPage(int status, const QString& text, const VenuePageSettings& settings);

// The text as HTML: & < > " ' escaped, and a character no document may hold
// (a control character, a lone surrogate) replaced by U+FFFD.
QString VenueHtmlEscaped(const QString& text);

// One screen of the projector: a run of the current heat's games, of the
// standings' player rows or of their team rows.
struct VenueScreen {
    enum class Kind { Boards, Players, Teams, Welcome };
    Kind kind = Kind::Welcome;
    size_t first = 0;  // the first game (index into the heat's games) or row
    size_t end = 0;    // one past the last
};

// The most one projector screen holds: three stacks of two games side by
// side, or twenty rows of a standings table; fewer when long names wrap.
inline constexpr size_t kVenueGamesPerScreen = 6;
inline constexpr size_t kVenueRowsPerScreen = 20;

// The projector's screens in the order it shows them: the boards of the
// heat being played, then the players' and the teams' standings, each cut
// into as many screens as its type of at least 28 px at 1920x1080 needs,
// never a game across two; one welcome screen when there is nothing yet.
// The header shows settings.mainAddress.
std::vector<VenueScreen> VenueDisplayScreens(const VenueEvent& event, const VenuePageSettings& settings);
