#include "venue/VenueDisplayDialog.h"

#include "ui_VenueDisplayDialog.h"

#include "db/Format.h"
#include "db/Recordset.h"
#include "ui/Controls.h"
#include "ui/UiServices.h"
#include "venue/QrCode.h"
#include "venue/VenueService.h"

#include <QPixmap>
#include <QSignalBlocker>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace {

const QString kTitle = QStringLiteral("Venue Display");

// The room of the QR code on the screen, in device-independent pixels. The
// code fills as much of it as whole device pixels a module allow: over 200
// for any address, large enough for a phone held up to the screen.
constexpr int kQrRoom = 240;

// At most this many further addresses are listed under the pages.
constexpr int kOtherAddressesShown = 2;

// The longest address the dialog may have to show, for the room it keeps.
const QString kWidestAddress = QStringLiteral("http://255.255.255.255:65535/");

const QString kRunningText = QStringLiteral("The venue display is running.");
const QString kStoppedText = QStringLiteral("The venue display is stopped.");
const QString kStoppedHint = QStringLiteral("Once the display is started, the addresses of its pages<br>"
                                            "show here, with a QR code for the phones in the room.");

QString Link(const QString& url)
{
    const QString escaped = url.toHtmlEscaped();
    return Format("<a href=\"%s\">%s</a>", escaped, escaped);
}

// The QR code of text, scaled for a screen of the given ratio of device
// pixels to device-independent ones: whole device pixels a module, as large
// as kQrRoom allows.
QPixmap QrPixmap(const QString& text, qreal ratio)
{
    const QrCode code = EncodeQrCode(text);
    if (code.size == 0) return {};
    const int modules = code.size + 8;  // the quiet zone of four modules each side
    const int modulePixels = std::max(1, int(std::floor(kQrRoom * ratio / modules)));
    QPixmap pixmap = QPixmap::fromImage(QrCodeImage(code, modulePixels));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

}  // namespace

QString VenueStartReason(bool running)
{
    return running ? QStringLiteral("The venue display is running already") : QString();
}

QString VenueStopReason(bool running)
{
    return running ? QString() : QStringLiteral("The venue display is not running");
}

QString VenueListenSettingReason(bool running)
{
    return running ? QStringLiteral("Takes effect when the display starts: press Stop to change it") : QString();
}

CVenueDisplayDialog::CVenueDisplayDialog(CVenueService& service, int tournamentID, QWidget* parent)
    : CDialog(parent), ui(std::make_unique<Ui::CVenueDisplayDialog>()), m_service(service),
      m_tournamentID(tournamentID)
{
    ui->setupUi(this);
    // An image, named by its accessible name: a label of plain text would be
    // named by its (empty) text.
    ui->qrLabel->setTextFormat(Qt::RichText);
    // The addresses and the code come and go with the server; the room they
    // need is kept, so starting and stopping moves nothing.
    KeepRoomWhenHidden(ui->qrLabel);
    KeepRoomForTexts(ui->statusLabel, {kRunningText, kStoppedText});

    // Notifications and their handlers.
    On(ui->startButton, &QPushButton::clicked, &CVenueDisplayDialog::OnStart);
    On(ui->stopButton, &QPushButton::clicked, &CVenueDisplayDialog::OnStop);
    On(ui->closeButton, &QPushButton::clicked, &CVenueDisplayDialog::OnClose);
    On(ui->secondsSpin, &QSpinBox::valueChanged, &CVenueDisplayDialog::OnSecondsChanged);
    On(ui->linksLabel, &QLabel::linkActivated, &CVenueDisplayDialog::OnLinkActivated);
    On(&m_service, &CVenueService::StateChanged, &CVenueDisplayDialog::ShowState);
}

CVenueDisplayDialog::~CVenueDisplayDialog() = default;

void CVenueDisplayDialog::OnInitDialog()
{
    m_currentHeat = QueryInt(Sql("select max(Heat.heatNum) from Heat, Game where Game.heatID = Heat.id and "
                                 "Heat.tournamentID = %d",
                                 m_tournamentID),
                             0);
    KeepRoomForAddresses();
    ShowSettings(LoadVenueSettings());
    ShowState();
}

void CVenueDisplayDialog::KeepRoomForAddresses()
{
    // The widest content the box may show, measured once.
    QStringList others;
    for (int i = 0; i < kOtherAddressesShown; ++i) others << kWidestAddress;
    ui->linksLabel->setText(PageLinks(kWidestAddress, others));
    QSize room = ui->linksLabel->sizeHint();
    ui->linksLabel->setText(kStoppedHint);
    room = room.expandedTo(ui->linksLabel->sizeHint());
    ui->linksLabel->setMinimumSize(room);
    ui->qrLabel->setMinimumSize(kQrRoom, kQrRoom);
}

void CVenueDisplayDialog::ShowSettings(const VenueServerSettings& settings)
{
    ui->portEdit->setText(QString::number(settings.port));
    // Radio buttons notify no handler; the spin box's does, and the dialog's
    // own change is no change of the director's.
    (settings.everyNetwork ? ui->everyNetworkRadio : ui->localRadio)->setChecked(true);
    const QSignalBlocker quiet(ui->secondsSpin);
    ui->secondsSpin->setValue(settings.secondsPerScreen);
}

void CVenueDisplayDialog::ShowState()
{
    const VenueServer* server = m_service.Running();
    const bool running = server != nullptr;
    EnableWithReason(ui->startButton, VenueStartReason(running));
    EnableWithReason(ui->stopButton, VenueStopReason(running));
    for (QWidget* setting : {static_cast<QWidget*>(ui->portEdit), static_cast<QWidget*>(ui->everyNetworkRadio),
                             static_cast<QWidget*>(ui->localRadio)})
        EnableWithReason(setting, VenueListenSettingReason(running));
    SetLabelText(ui->statusLabel, running ? kRunningText : kStoppedText);
    if (running) {
        ShowSettings(server->Settings());
        QStringList others = server->Addresses();
        others.removeAll(server->MainAddress());
        ShowAddresses(server->MainAddress(), others.mid(0, kOtherAddressesShown));
    } else {
        ui->linksLabel->setTextInteractionFlags(Qt::NoTextInteraction);
        ui->linksLabel->setText(kStoppedHint);
        ui->qrLabel->clear();
        ui->qrLabel->setAccessibleDescription(QString());
    }
    ui->qrLabel->setVisible(running);
}

QString CVenueDisplayDialog::PageLinks(const QString& mainAddress, const QStringList& others) const
{
    QString rows;
    const auto row = [&rows](const QString& what, const QString& url) {
        rows += Format("<tr><td>%s</td><td>%s</td></tr>", what.toHtmlEscaped(), Link(url));
    };
    row(QStringLiteral("Start page:"), mainAddress);
    row(QStringLiteral("Standings:"), mainAddress + QStringLiteral("standings"));
    row(QStringLiteral("Projector:"), mainAddress + QStringLiteral("display"));
    if (m_currentHeat > 0) {
        row(Format("Heat %d, board by board:", m_currentHeat), mainAddress + Format("heat/%d", m_currentHeat));
        row(Format("Heat %d, find your board:", m_currentHeat),
            mainAddress + Format("heat/%d/players", m_currentHeat));
    }
    QString text = QStringLiteral("<table cellspacing=\"2\">") + rows + QStringLiteral("</table>");
    text += QStringLiteral("<p>Every player's name on these pages links to his own page.</p>");
    if (!others.isEmpty()) {
        QStringList links;
        for (const QString& other : others) links << Link(other);
        text += QStringLiteral("<p>This computer answers at ") + links.join(QStringLiteral("<br>")) +
                QStringLiteral(" too.</p>");
    }
    return text;
}

void CVenueDisplayDialog::ShowAddresses(const QString& mainAddress, const QStringList& others)
{
    ui->linksLabel->setTextInteractionFlags(Qt::LinksAccessibleByKeyboard | Qt::LinksAccessibleByMouse);
    ui->linksLabel->setText(PageLinks(mainAddress, others));
    const QPixmap code = QrPixmap(mainAddress, devicePixelRatioF());
    if (code.isNull())
        ui->qrLabel->setText(mainAddress.toHtmlEscaped());
    else
        ui->qrLabel->setPixmap(code);
    ui->qrLabel->setAccessibleDescription(
        Format("Scan it with a phone's camera to open %s, the start page of the venue display", mainAddress));
}

void CVenueDisplayDialog::OnStart()
{
    int port = 0;
    if (const QString problem = VenuePortProblem(ui->portEdit->text(), port); !problem.isEmpty()) {
        ShowMessage(problem, kTitle, MsgIcon::Exclamation);
        ui->portEdit->setFocus();
        ui->portEdit->selectAll();
        return;
    }
    VenueServerSettings settings;
    settings.port = port;
    settings.everyNetwork = ui->everyNetworkRadio->isChecked();
    settings.secondsPerScreen = ui->secondsSpin->value();
    try {
        const WaitCursor wait;
        m_service.Start(m_tournamentID, settings);
    } catch (const VenueServerError& refused) {
        // Nothing has changed: the settings stay as typed, for another try.
        ShowMessage(refused.Message(), kTitle, MsgIcon::Stop);
        return;
    }
    SaveVenueSettings(settings);
    // Start is unavailable now; the keyboard's place moves to its opposite.
    ui->stopButton->setFocus();
}

void CVenueDisplayDialog::OnStop()
{
    m_service.Stop();
    ui->startButton->setFocus();
}

void CVenueDisplayDialog::OnClose() { EndDialog(QDialog::Accepted); }

void CVenueDisplayDialog::OnSecondsChanged(int seconds)
{
    // The projector follows at once; a stopped display takes the value when
    // it starts.
    const VenueServer* server = m_service.Running();
    if (!server) return;
    m_service.SetSecondsPerScreen(seconds);
    SaveVenueSettings(server->Settings());
}

void CVenueDisplayDialog::OnLinkActivated(const QString& link)
{
    if (!Services().OpenUrl(QUrl(link)))
        ShowMessage(Format("No browser could be started to open %s.", link), kTitle, MsgIcon::Exclamation);
}
