#include "venue/VenueScreens.h"

#include "venue/VenuePageParts.h"
#include "venue/VenueScreenLayout.h"

using namespace venue_pages;

namespace {

// What a screen holds when no name wraps, as the header promises.
static_assert(2 * layout::CardHeight(7) + layout::kStackGap <= layout::kArea);
static_assert(3 * layout::CardHeight(7) + 2 * layout::kStackGap > layout::kArea);
static_assert(kVenueGamesPerScreen == 2 * layout::kColumns);
static_assert(layout::kTableHead + double(kVenueRowsPerScreen) * layout::kTableRow <= layout::kArea);
static_assert(layout::kTableHead + double(kVenueRowsPerScreen + 1) * layout::kTableRow > layout::kArea);

// The boards kColumns stacks of games across, read down and then across.
std::vector<VenueScreen> BoardScreens(const VenueHeat& heat, double room)
{
    const std::vector<double> heights = GameHeights(heat);
    std::vector<VenueScreen> screens;
    for (size_t first = 0; first < heights.size();) {
        size_t end = first;
        for (size_t c = 0; c < layout::kColumns && end < heights.size(); ++c)
            end = StackEnd(heights, end, layout::kStackGap, room);
        screens.push_back({VenueScreen::Kind::Boards, first, end});
        first = end;
    }
    return screens;
}

std::vector<VenueScreen> ListingScreens(VenueScreen::Kind kind, const QStringList& headings,
                                        const std::vector<ListingRow>& rows, int numHeats, double room)
{
    const ProjectorTable table = ProjectorTableOf(headings, rows, numHeats);
    std::vector<double> heights;
    for (const ListingRow& row : rows)
        heights.push_back(LinesOf(row.cells.value(1), table.nameWidth) * layout::kLine + 2 * layout::kTablePadY);
    std::vector<VenueScreen> screens;
    for (size_t first = 0; first < heights.size();) {
        const size_t end = StackEnd(heights, first, 0, room - layout::kTableHead);
        screens.push_back({kind, first, end});
        first = end;
    }
    return screens;
}

}  // namespace

std::vector<VenueScreen> VenueDisplayScreens(const VenueEvent& event, const VenuePageSettings& settings)
{
    const double room = ScreenRoom(event, settings);
    std::vector<VenueScreen> screens;
    if (const VenueHeat* heat = ShownHeat(event)) screens = BoardScreens(*heat, room);
    const auto append = [&](const std::vector<VenueScreen>& more) {
        screens.insert(screens.end(), more.begin(), more.end());
    };
    append(ListingScreens(VenueScreen::Kind::Players, PlayerHeadings(event.numHeats), event.standings.playerRows,
                          event.numHeats, room));
    if (event.hasTeams)
        append(ListingScreens(VenueScreen::Kind::Teams, TeamHeadings(), event.standings.teamRows, 0, room));
    if (screens.empty()) screens.push_back({VenueScreen::Kind::Welcome, 0, 0});
    return screens;
}
