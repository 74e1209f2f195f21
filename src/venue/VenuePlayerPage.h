#pragma once
// A player's page on the phones, /player/ID (VenuePages.h): his heats one by
// one with his running total and rank after each, and a chart of his rank.

#include "venue/VenueEvent.h"
#include "venue/VenueHtml.h"

namespace venue_pages {

// The page of a player seated in the event.
VenuePage PlayerPage(const VenueEvent& event, int playerID, const VenuePageSettings& settings);

}  // namespace venue_pages
