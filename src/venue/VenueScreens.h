#pragma once
// The projector's screens (VenuePages.h, /display): what each one shows.

#include "venue/VenueEvent.h"
#include "venue/VenueHtml.h"

#include <cstddef>
#include <vector>

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
