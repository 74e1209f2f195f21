#include "venue/VenueDisplayDialog.h"

#include "support/DbTest.h"
#include "support/TestData.h"
#include "support/Widgets.h"
#include "venue/QrCode.h"
#include "venue/VenueService.h"

#include <QApplication>
#include <QHostAddress>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTcpServer>

#include <memory>

using namespace testdata;

namespace {

// A port nobody listens on just now.
int FreePort()
{
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    return probe.serverPort();
}

// True when this program can listen on the port itself: nobody holds it.
bool PortFree(int port)
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, quint16(port));
}

void SetSettingsFolder(const QString& folder)
{
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, folder);
}

}  // namespace

// The dialog on a tournament whose heat 2 is being played, with the
// settings kept in the scratch folder instead of the user's.
class VenueDisplayDialog : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        SetSettingsFolder(PathOf("settings"));
        ASSERT_TRUE(QSettings().fileName().startsWith(PathOf("settings")));
        tournamentID = AddTournament({.systemID = AddSystem()});
        AddGame(AddHeat(tournamentID, 1), 1, 2);
        AddGame(AddHeat(tournamentID, 2), 1, 0);
        dlg = std::make_unique<CVenueDisplayDialog>(service, tournamentID);
        ASSERT_TRUE(dlg->Initialise());
    }
    void TearDown() override
    {
        dlg.reset();
        service.Stop();
        SetSettingsFolder(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
        DbTest::TearDown();
    }

    QLineEdit* Port() { return ControlByName<QLineEdit>(dlg.get(), "Port"); }
    QSpinBox* Seconds() { return ControlByName<QSpinBox>(dlg.get(), "Show each projector page for"); }
    QAbstractButton* Button(const char* text) { return ButtonByText(dlg.get(), text); }
    QLabel* Links() { return dlg->findChild<QLabel*>("linksLabel"); }
    QLabel* Code() { return dlg->findChild<QLabel*>("qrLabel"); }
    bool PagesShown() { return Shown(Code()) && Links()->text().contains("href="); }

    void StartOn(int port)
    {
        Port()->setText(QString::number(port));
        Button("&Start")->click();
    }

    // Start disabled with its reason and the settings of a start with it, or
    // Stop, as the display runs or not.
    void ExpectRunning(bool running)
    {
        EXPECT_EQ(service.Running() != nullptr, running);
        EXPECT_EQ(Button("&Start")->isEnabled(), !running);
        EXPECT_EQ(Button("St&op")->isEnabled(), running);
        EXPECT_EQ(Port()->isEnabled(), !running);
        EXPECT_EQ(Button("Listen on &every network (phones and projector in the room)")->isEnabled(), !running);
        EXPECT_EQ(PagesShown(), running);
        EXPECT_TRUE(Seconds()->isEnabled());
        ExpectDisabledActionsExplained(dlg.get());
        ExpectControlsNamed(dlg.get());
        // A disabled button says why; an available one says what it does,
        // however often it was disabled before.
        if (running) {
            EXPECT_EQ(Button("&Start")->toolTip(), VenueStartReason(true));
            EXPECT_EQ(Port()->toolTip(), VenueListenSettingReason(true));
            EXPECT_EQ(Button("St&op")->toolTip(), "Stops serving the pages and frees the port");
        } else {
            EXPECT_EQ(Button("St&op")->toolTip(), VenueStopReason(false));
            EXPECT_EQ(Button("&Start")->toolTip(), "Starts serving the pages of the open tournament");
            EXPECT_TRUE(Code()->pixmap().isNull());
        }
    }

    CVenueService service;
    int tournamentID = 0;
    std::unique_ptr<CVenueDisplayDialog> dlg;
};

TEST_F(VenueDisplayDialog, StartsFromTheKeyboardWithTheDefaultsAndShowsWhereThePagesAre)
{
    EXPECT_EQ(dlg->windowTitle(), "Venue Display");
    EXPECT_EQ(Port()->text(), "8080");
    EXPECT_TRUE(dlg->findChild<QRadioButton*>("localRadio")->isChecked());
    EXPECT_EQ(Seconds()->value(), 20);
    EXPECT_EQ(Seconds()->suffix(), " s");
    EXPECT_EQ(Seconds()->minimum(), 5);
    EXPECT_EQ(Seconds()->maximum(), 300);
    ExpectRunning(false);

    // The port typed, then Enter: the display starts.
    const int port = FreePort();
    Seconds()->setValue(45);
    dlg->show();
    Port()->setFocus();
    Port()->setText(QString::number(port));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(Port(), &enter);
    ASSERT_NE(service.Running(), nullptr);
    ExpectRunning(true);
    EXPECT_FALSE(PortFree(port));
    const QString main = service.Running()->MainAddress();
    EXPECT_EQ(main, QString("http://127.0.0.1:%1/").arg(port));
    for (const char* page : {"", "standings", "display", "heat/2", "heat/2/players"})
        EXPECT_TRUE(Links()->text().contains(QString("href=\"%1%2\"").arg(main, page))) << page;
    EXPECT_FALSE(Links()->text().contains("heat/1")) << "only the heat being played";

    // The QR code is the main address's, at least 200 device-independent
    // pixels wide, in whole device pixels a module.
    const QPixmap code = Code()->pixmap();
    EXPECT_GE(code.deviceIndependentSize().width(), 200);
    const QrCode encoded = EncodeQrCode(main);
    ASSERT_GT(encoded.size, 0);
    const int modulePixels = code.width() / (encoded.size + 8);
    EXPECT_EQ(code.toImage().convertToFormat(QImage::Format_RGB32),
              QrCodeImage(encoded, modulePixels).convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(AccessibleName(Code()), "QR code of the main address");
    EXPECT_TRUE(Code()->accessibleDescription().contains(main));

    // A link opens the page in the desktop's browser.
    Q_EMIT Links()->linkActivated(main + "standings");
    ASSERT_EQ(ui().OpenedUrls().size(), 1u);
    EXPECT_EQ(ui().OpenedUrls()[0], QUrl(main + "standings"));

    // Remembered for the next start.
    const VenueServerSettings saved = LoadVenueSettings();
    EXPECT_EQ(saved.port, port);
    EXPECT_FALSE(saved.everyNetwork);
    EXPECT_EQ(saved.secondsPerScreen, 45);

    // Closed, the dialog leaves the display running; opened again it shows
    // the running server.
    Button("&Close")->click();
    EXPECT_TRUE(dlg->HasEnded());
    dlg.reset();
    ASSERT_NE(service.Running(), nullptr);
    EXPECT_FALSE(PortFree(port));
    dlg = std::make_unique<CVenueDisplayDialog>(service, tournamentID);
    ASSERT_TRUE(dlg->Initialise());
    ExpectRunning(true);
    EXPECT_EQ(Port()->text(), QString::number(port));
}

TEST_F(VenueDisplayDialog, RefusesAPortThatIsNoPortAndStartsNothing)
{
    for (const QString typed : {"0", "65536", "99999999999", "-1", "+80", "80.5", "http", " ", "8 080"}) {
        SCOPED_TRACE(typed.toStdString());
        Port()->setText(typed);
        const QString expected = typed.trimmed().isEmpty()
                                     ? QStringLiteral("The port must be a whole number from 1 to 65535.")
                                     : "The port must be a whole number from 1 to 65535, not \"" + typed + "\".";
        ui().Expect("Venue Display").Text(expected).Icon(MsgIcon::Exclamation);
        Button("&Start")->click();
        ui().VerifyAllUsed();
        EXPECT_EQ(Port()->text(), typed);
        ExpectRunning(false);
    }
    EXPECT_FALSE(QSettings().contains("venue/port"));
}

TEST_F(VenueDisplayDialog, APortInUseGetsTheServersMessageAndStopFreesThePort)
{
    const int port = FreePort();
    auto holder = std::make_unique<QTcpServer>();
    ASSERT_TRUE(holder->listen(QHostAddress::LocalHost, quint16(port)));
    Seconds()->setValue(30);
    ui().Expect("Venue Display").Icon(MsgIcon::Stop);
    StartOn(port);
    ASSERT_EQ(ui().Messages().size(), 1u);
    EXPECT_TRUE(ui().Messages()[0].text.contains(QString::number(port))) << ui().Messages()[0].text.toStdString();
    ExpectRunning(false);
    EXPECT_EQ(Port()->text(), QString::number(port));
    EXPECT_EQ(Seconds()->value(), 30);
    EXPECT_FALSE(QSettings().contains("venue/port"));

    // Freed by its holder, the port serves; Stop frees it again.
    holder.reset();
    StartOn(port);
    ExpectRunning(true);
    Button("St&op")->click();
    ExpectRunning(false);
    EXPECT_TRUE(PortFree(port));
}

TEST_F(VenueDisplayDialog, AChangeOfTheSecondsReachesTheRunningProjectorAndIsKept)
{
    StartOn(FreePort());
    ASSERT_NE(service.Running(), nullptr);
    Seconds()->setValue(90);
    EXPECT_EQ(service.Running()->Settings().secondsPerScreen, 90);
    EXPECT_EQ(LoadVenueSettings().secondsPerScreen, 90);
    EXPECT_EQ(LoadVenueSettings().port, service.Running()->Port());
}
