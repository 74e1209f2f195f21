#pragma once
// The pages of the players' phones (VenuePages.h): every one under the same
// header, which names the tournament and links to the rest, and reloading
// itself every 30 seconds.

#include "venue/VenueEvent.h"
#include "venue/VenueHtml.h"

#include <QString>

namespace venue_pages {

// What a phone page shows under the common header.
struct PhoneContent {
    QString title;            // plain text of the tab's title
    QString heading;          // the <h1>, as HTML
    QString main;             // the rest of the page's content, as HTML
    bool eventLine = true;    // the header names the tournament (not where the heading does)
};

// The page of the content; without an event its header links home only.
VenuePage PhonePage(const VenueEvent* event, const PhoneContent& content, const VenuePageSettings& settings,
                    int status = 200);

// /, /heat/N, /heat/N/players and /standings.
VenuePage HomePage(const VenueEvent& event, const VenuePageSettings& settings);
VenuePage HeatPage(const VenueEvent& event, const VenueHeat& heat, const VenuePageSettings& settings);
VenuePage HeatPlayersPage(const VenueEvent& event, const VenueHeat& heat, const VenuePageSettings& settings);
VenuePage StandingsPage(const VenueEvent& event, const VenuePageSettings& settings);

}  // namespace venue_pages
