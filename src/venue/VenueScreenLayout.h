#pragma once
// How much room the projector's texts take, for cutting its screens
// (VenueScreens.h) and laying out each one (VenueDisplayPage.h).

#include "venue/VenueEvent.h"
#include "venue/VenueHtml.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <vector>

namespace venue_pages {

// The projector's page is laid out in units of its type, which its style
// sheet (VenueDisplayPage.cpp) sizes min(2.7vh, 1.52vw): 29.16 px at
// 1920x1080 (never below 28 px there), and a screen of any shape holds at
// least kWidth x kHeight of it. Every length of the sheet that takes room is
// one of these numbers, so the screens are cut here as the browser will lay
// them out.
namespace layout {
constexpr double kTypePx = 29.16;
constexpr double kWidth = 1920 / kTypePx;   // 65.8
constexpr double kHeight = 1080 / kTypePx;  // 37.0
constexpr double kPadX = 0.8;               // body padding
constexpr double kPadY = 0.6;
constexpr double kLine = 1.25;              // line-height
constexpr double kTitleLine = 1.5 * 1.15;   // h1: 1.5em, line-height 1.15
constexpr double kQr = 5.5;                 // the code's square, the header's least height
constexpr double kHeaderGap = 0.8;          // between the titles and the code
constexpr double kHeaderBelow = 0.6;        // header margin-bottom
constexpr double kSafety = 0.25;            // the browser's rounding
constexpr double kTitlesWidth = kWidth - 2 * kPadX - kQr - kHeaderGap;
// The boards: kColumns stacks of cards side by side.
constexpr size_t kColumns = 3;
constexpr double kColumnGap = 0.8;
constexpr double kStackGap = 0.4;                   // between two cards of a stack
constexpr double kCardBorder = 0.1;
constexpr double kCardPadX = 0.45;
constexpr double kCardPadY = 0.35;
constexpr double kCardHeading = 1.1 * 1.25 + 0.15;  // h2: 1.1em, margin-bottom 0.15em
constexpr double kSeatPadX = 0.2;
constexpr double kSeatPadY = 0.05;
constexpr double kCardWidth = (kWidth - 2 * kPadX - double(kColumns - 1) * kColumnGap) / double(kColumns);
constexpr double kCardInner = kCardWidth - 2 * (kCardPadX + kCardBorder);
// The standings tables.
constexpr double kTablePadX = 0.3;
constexpr double kTablePadY = 0.06;
constexpr double kHeadBorder = 0.1;
constexpr double kTableWidth = kWidth - 2 * kPadX;
// The names' column takes what the longest name needs, up to this much,
// before the earliest heats give way: a row that does not wrap keeps a
// screen's twenty rows.
constexpr double kMostNameWidth = 24;
constexpr double kBold = 1.12;          // bold type is this much wider
// The room under the header when its titles take no more than the code.
constexpr double kArea = kHeight - 2 * kPadY - kQr - kHeaderBelow - kSafety;
constexpr double CardHeight(int lines)
{
    return 2 * (kCardBorder + kCardPadY) + kCardHeading + lines * kLine + 7 * 2 * kSeatPadY;
}
constexpr double kTableHead = kLine + 2 * kTablePadY + kHeadBorder;
constexpr double kTableRow = kLine + 2 * kTablePadY;
}  // namespace layout

// The lines text takes in a column width em wide: broken at spaces, and a
// word longer than a line anywhere.
int LinesOf(const QString& text, double width);

// The columns of a standings table the projector shows: every heat while
// the longest name keeps its line (up to kMostNameWidth), else the latest
// heats that leave it one.
struct ProjectorTable {
    std::vector<qsizetype> shown;
    double nameWidth = 0;  // the names' column, its padding left out
};

ProjectorTable ProjectorTableOf(const QStringList& headings, const std::vector<ListingRow>& rows, int numHeats);

// The end of a stack of whole items from first on, one above the other with
// gap between them: as many as room holds, and at least one.
size_t StackEnd(const std::vector<double>& heights, size_t first, double gap, double room);

// The height of each of the heat's game cards.
std::vector<double> GameHeights(const VenueHeat& heat);

// The room under a screen's header.
double ScreenRoom(const VenueEvent& event, const VenuePageSettings& settings);

// The heat whose boards the projector shows: the current one, once seeded.
const VenueHeat* ShownHeat(const VenueEvent& event);

}  // namespace venue_pages
