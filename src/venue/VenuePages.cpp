#include "venue/VenuePages.h"

#include "db/Format.h"
#include "venue/VenueDisplayPage.h"
#include "venue/VenuePageParts.h"
#include "venue/VenuePhonePages.h"
#include "venue/VenuePlayerPage.h"

#include <QByteArrayView>

#include <climits>
#include <optional>

using namespace venue_pages;

namespace {

// A number of a path: 1 to 10 decimal digits, 1 .. 2147483647.
std::optional<int> RouteNumber(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 10) return std::nullopt;
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > INT_MAX) return std::nullopt;
    return int(value);
}

QString StatusTitle(int status)
{
    switch (status) {
    case 404: return QStringLiteral("Not Found");
    case 405: return QStringLiteral("Method Not Allowed");
    case 503: return QStringLiteral("Not Available Just Now");
    default: return QStringLiteral("Not Available");
    }
}

}  // namespace

VenueRoute ParseVenueRoute(const QByteArray& path, const QByteArray& screenArgument)
{
    using Kind = VenueRoute::Kind;
    if (path == "/") return {Kind::Home, 0};
    if (path == "/standings") return {Kind::Standings, 0};
    if (path == "/display") return {Kind::Display, RouteNumber(screenArgument).value_or(1)};
    const QList<QByteArray> parts = path.split('/');
    if (parts.size() < 3 || parts.size() > 4 || !parts[0].isEmpty()) return {};
    const std::optional<int> number = RouteNumber(parts[2]);
    if (!number) return {};
    if (parts.size() == 4) return parts[1] == "heat" && parts[3] == "players" ? VenueRoute{Kind::HeatPlayers, *number}
                                                                               : VenueRoute{};
    if (parts[1] == "heat") return {Kind::Heat, *number};
    if (parts[1] == "player") return {Kind::Player, *number};
    return {};
}

VenuePage VenuePageFor(const VenueEvent& event, const VenueRoute& route, const VenuePageSettings& settings)
{
    using Kind = VenueRoute::Kind;
    const VenueHeat* heat = event.Heat(route.number);
    switch (route.kind) {
    case Kind::Home: return HomePage(event, settings);
    case Kind::Standings: return StandingsPage(event, settings);
    case Kind::Display: return DisplayPage(event, route.number, settings);
    case Kind::Heat:
    case Kind::HeatPlayers:
        if (!heat) return VenueStatusPage(404, Format("This tournament has no heat %d.", route.number), settings);
        return route.kind == Kind::Heat ? HeatPage(event, *heat, settings) : HeatPlayersPage(event, *heat, settings);
    case Kind::Player:
        if (!event.IsSeated(route.number))
            return VenueStatusPage(404, QStringLiteral("No such player plays in this tournament."), settings);
        return PlayerPage(event, route.number, settings);
    case Kind::NotFound: break;
    }
    return VenueStatusPage(404, QStringLiteral("There is no page at this address."), settings);
}

VenuePage VenueStatusPage(int status, const QString& text, const VenuePageSettings& settings)
{
    const QString title = StatusTitle(status);
    const QString main = Format("<p class=\"lead\">%s</p>\n<p><a href=\"/\">The tournament's home page</a></p>\n",
                                Escaped(text));
    return PhonePage(nullptr, {title, Escaped(title), main}, settings, status);
}
