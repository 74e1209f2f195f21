#pragma once
// The projector's page, /display?screen=K (VenuePages.h): one of the screens
// of VenueScreens.h under a header with the address's QR code, and the
// script that shows the next one when its time is up.

#include "venue/VenueEvent.h"
#include "venue/VenueHtml.h"

namespace venue_pages {

// The page of screen screenNumber, counted from 1 and round again after
// the last.
VenuePage DisplayPage(const VenueEvent& event, int screenNumber, const VenuePageSettings& settings);

}  // namespace venue_pages
