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
#include "venue/VenueHtml.h"     // VenuePage, VenuePageSettings, VenueHtmlEscaped
#include "venue/VenueScreens.h"  // the projector's screens

#include <QByteArray>
#include <QString>

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
