#pragma once
// Venue Display: starts and stops the web server that shows the open
// tournament to the players' phones and the projector in the room.
//
// The director picks the port, whether phones on the networks of this
// computer may reach it or this computer only, and how long the projector
// shows each page. While the display runs the dialog lists the page
// addresses as links and shows a QR code of the main address for the phones
// to scan. The server belongs to the main window's service: closing the
// dialog leaves it running until Stop or the end of the program. The
// settings of a successful start are kept for the next.

#include "ui/Dialog.h"
#include "venue/VenueServer.h"

#include <QString>

#include <memory>

namespace Ui {
class CVenueDisplayDialog;
}
class CVenueService;

// Why a command or setting is unavailable; empty when it is available.
QString VenueStartReason(bool running);
QString VenueStopReason(bool running);
// The port and the networks take effect when the display starts.
QString VenueListenSettingReason(bool running);

class CVenueDisplayDialog : public CDialog {
    Q_OBJECT
public:
    // Works on service's server, which shows tournamentID.
    CVenueDisplayDialog(CVenueService& service, int tournamentID, QWidget* parent = nullptr);
    ~CVenueDisplayDialog() override;

protected:
    void OnInitDialog() override;

private:
    void OnStart();
    void OnStop();
    void OnClose();
    void OnSecondsChanged(int seconds);
    void OnLinkActivated(const QString& link);

    // Shows whether the display runs, and where.
    void ShowState();
    void ShowSettings(const VenueServerSettings& settings);
    void ShowAddresses(const QString& mainAddress, const QStringList& others);
    void KeepRoomForAddresses();
    QString PageLinks(const QString& mainAddress, const QStringList& others) const;

    std::unique_ptr<Ui::CVenueDisplayDialog> ui;
    CVenueService& m_service;
    int m_tournamentID;
    // The heat being played (the last with a game); 0 when none has games.
    int m_currentHeat = 0;
};
