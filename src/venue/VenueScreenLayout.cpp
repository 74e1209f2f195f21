#include "venue/VenueScreenLayout.h"

#include "venue/VenuePageParts.h"

#include <algorithm>
#include <iterator>
#include <numeric>

namespace venue_pages {

namespace {

bool IsWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

// The advance widths of ' ' to '~' in thousandths of an em in DejaVu Sans,
// the widest of the common sans-serif faces (and the one Debian's browsers
// fall back on).
constexpr short kAsciiWidths[] = {
    318, 401, 460, 838, 636, 950, 780, 275, 390, 390, 500, 838, 318, 361, 318, 337, 636, 636, 636, 636,
    636, 636, 636, 636, 636, 636, 337, 337, 838, 838, 838, 531, 1000, 684, 686, 698, 770, 632, 575, 775,
    752, 295, 295, 656, 557, 863, 748, 787, 603, 787, 695, 635, 611, 732, 684, 989, 685, 611, 685, 390,
    337, 390, 838, 500, 500, 613, 635, 550, 635, 615, 352, 635, 634, 278, 278, 579, 278, 974, 634, 612,
    635, 635, 411, 521, 392, 634, 592, 818, 592, 592, 525, 636, 337, 636, 838};
static_assert(std::size(kAsciiWidths) == '~' - ' ' + 1);

// A character's width in em, a little generously: the browser's face may
// be another one, and the other scripts' letters are estimated. Digits and
// the point are as they stand: the numbers are set in tabular figures, which
// no common face sets wider.
double CharWidth(char32_t c)
{
    constexpr double kMargin = 1.03;
    if ((c >= '0' && c <= '9') || c == '.') return kAsciiWidths[c - ' '] / 1000.0;
    if (c >= ' ' && c <= '~') return kMargin * kAsciiWidths[c - ' '] / 1000.0;
    if (c >= 0x1F000) return 1.3;  // pictographs: a colour emoji is wider than an em
    if (IsWide(c)) return 1.05;
    const QChar::Category category = QChar::category(c);
    if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing || category == QChar::Other_Format)
        return 0;
    return 0.8;
}

std::vector<double> CharWidths(const QString& text)
{
    std::vector<double> widths;
    for (const char32_t c : text.toUcs4()) widths.push_back(CharWidth(c));
    return widths;
}

double Sum(const std::vector<double>& widths) { return std::accumulate(widths.begin(), widths.end(), 0.0); }

double TextWidth(const QString& text) { return Sum(CharWidths(text)); }

// The widest of the texts in a column, its padding included.
double ColumnWidth(const QStringList& texts, double padding)
{
    double widest = 0;
    for (const QString& text : texts) widest = std::max(widest, TextWidth(text));
    return widest + 2 * padding;
}

double GameHeight(const VenueGame& game)
{
    using namespace layout;
    QStringList powers, centres, results;
    for (const VenueSeat& seat : game.seats) {
        powers << PowerName(seat.powerID);
        centres << CentresText(game, seat);
        results << ResultText(game, seat);
    }
    double nameWidth = kCardInner - 2 * kSeatPadX;
    if (HasPowers(game)) nameWidth -= ColumnWidth(powers, kSeatPadX);
    if (game.status == kFinished) nameWidth -= ColumnWidth(centres, kSeatPadX) + ColumnWidth(results, kSeatPadX);
    double height = 2 * (kCardBorder + kCardPadY) + kCardHeading;
    for (const VenueSeat& seat : game.seats) height += LinesOf(seat.name, nameWidth) * kLine + 2 * kSeatPadY;
    return height;
}

// The header's height: the code's, or the titles' when they take more.
double HeaderHeight(const VenueEvent& event, const VenuePageSettings& settings)
{
    using namespace layout;
    // The longest of the headings and of the screen counts.
    const QString heading = QStringLiteral("Team standings · 9999 to 9999 of 9999");
    const QString eventLine = event.name + QStringLiteral(" · updated 00:00:00 · screen 999 of 999");
    const QString addressLine = QStringLiteral("On your phone: scan the code or open ") + settings.mainAddress;
    const double titles = LinesOf(heading, kTitlesWidth / (1.5 * kBold)) * kTitleLine +
                          (LinesOf(eventLine, kTitlesWidth) + LinesOf(addressLine, kTitlesWidth)) * kLine;
    return std::max(kQr, titles);
}

}  // namespace

int LinesOf(const QString& text, double width)
{
    int lines = 1;
    double x = 0;
    const double space = CharWidth(' ');
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const std::vector<double> widths = CharWidths(word);
        const double wordWidth = Sum(widths);
        if (x + (x > 0 ? space : 0) + wordWidth <= width) {
            x += (x > 0 ? space : 0) + wordWidth;
            continue;
        }
        if (x > 0) ++lines;
        x = 0;
        for (const double w : widths) {
            if (x > 0 && x + w > width) {
                ++lines;
                x = 0;
            }
            x += w;
        }
    }
    return lines;
}

ProjectorTable ProjectorTableOf(const QStringList& headings, const std::vector<ListingRow>& rows, int numHeats)
{
    using namespace layout;
    std::vector<double> widths;
    for (qsizetype c = 0; c < headings.size(); ++c) {
        QStringList texts;
        for (const ListingRow& row : rows) texts << row.cells.value(c);
        widths.push_back(std::max(ColumnWidth(texts, kTablePadX), kBold * TextWidth(headings[c]) + 2 * kTablePadX));
    }
    double others = 0;
    for (qsizetype c = 0; c < headings.size(); ++c)
        if (c != 1) others += widths[size_t(c)];
    const double names = std::min(widths[1], kMostNameWidth + 2 * kTablePadX);
    int dropped = 0;
    while (dropped < numHeats && kTableWidth - others < names) others -= widths[size_t(2 + dropped++)];
    ProjectorTable table;
    table.nameWidth = kTableWidth - others - 2 * kTablePadX;
    table.shown = {0, 1};
    for (qsizetype c = 2 + dropped; c < headings.size(); ++c) table.shown.push_back(c);
    return table;
}

size_t StackEnd(const std::vector<double>& heights, size_t first, double gap, double room)
{
    size_t end = first + 1;
    double used = heights[first];
    while (end < heights.size() && used + gap + heights[end] <= room) used += gap + heights[end++];
    return end;
}

std::vector<double> GameHeights(const VenueHeat& heat)
{
    std::vector<double> heights;
    for (const VenueGame& game : heat.games) heights.push_back(GameHeight(game));
    return heights;
}

double ScreenRoom(const VenueEvent& event, const VenuePageSettings& settings)
{
    using namespace layout;
    return kHeight - 2 * kPadY - HeaderHeight(event, settings) - kHeaderBelow - kSafety;
}

const VenueHeat* ShownHeat(const VenueEvent& event)
{
    const VenueHeat* heat = event.Heat(event.currentHeat);
    return heat && !heat->games.empty() ? heat : nullptr;
}

}  // namespace venue_pages
