#pragma once
// A venue display page as the server sends it, what a page shows beyond the
// event, and the escaping of every text a page holds (VenuePages.h).

#include <QByteArray>
#include <QString>

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

// The text as HTML: & < > " ' escaped, and a character no document may hold
// (a control character, a lone surrogate) replaced by U+FFFD.
QString VenueHtmlEscaped(const QString& text);
