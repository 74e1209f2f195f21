#include "support/WebDriver.h"

#include "support/HttpClient.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

namespace {

// Chromium as the tests run it: headless, without the services that would
// reach out of a closed network, with a profile of its own.
QJsonArray ChromiumArguments(const QString& profile)
{
    return {"--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage", "--no-first-run",
            "--disable-background-networking", "--disable-component-update", "--disable-sync", "--disable-quic",
            "--hide-scrollbars", "--user-data-dir=" + profile};
}

}  // namespace

WebDriver::WebDriver()
{
    m_profile = QDir::temp().filePath(QStringLiteral("quorvane-browser-%1").arg(QCoreApplication::applicationPid()));
    m_port = FreeLoopbackPort();
    m_driver.start(QStringLiteral("chromedriver"), {QStringLiteral("--port=%1").arg(m_port)});
    if (!m_driver.waitForStarted(10000)) {
        m_error = QStringLiteral("chromedriver does not start (make test-browser installs it): ") + m_driver.errorString();
        return;
    }
    bool ready = false;
    for (int i = 0; i < 100 && !ready; ++i) {
        ready = HttpGet(m_port, "/status").body.contains("\"ready\":true");
        if (!ready) QThread::msleep(100);
    }
    if (!ready) {
        m_error = QStringLiteral("chromedriver does not answer");
        return;
    }
    const QJsonObject options{{"binary", "/usr/bin/chromium"}, {"args", ChromiumArguments(m_profile)}};
    const QJsonObject capabilities{{"alwaysMatch", QJsonObject{{"goog:chromeOptions", options}}}};
    const QJsonValue created = Command("POST", "/session", QJsonObject{{"capabilities", capabilities}});
    m_session = created.toObject().value("sessionId").toString();
    if (m_session.isEmpty()) m_error = QStringLiteral("no Chromium session: ") + QJsonDocument(created.toObject()).toJson();
}

WebDriver::~WebDriver()
{
    if (!m_session.isEmpty()) Command("DELETE", "/session/" + m_session);
    m_driver.terminate();
    if (!m_driver.waitForFinished(5000)) m_driver.kill();
    QDir(m_profile).removeRecursively();
}

QJsonValue WebDriver::Command(const QByteArray& method, const QString& path, const QJsonValue& body)
{
    const QByteArray json =
        body.isObject() ? QJsonDocument(body.toObject()).toJson(QJsonDocument::Compact) : QByteArray();
    const HttpReply reply =
        HttpRequest(m_port, method, path.toUtf8(), json.isEmpty() ? QByteArray() : "Content-Type: application/json\r\n", json);
    return QJsonDocument::fromJson(reply.body).object().value("value");
}

void WebDriver::SetViewport(int width, int height, bool mobile)
{
    const QJsonObject metrics{{"width", width}, {"height", height}, {"deviceScaleFactor", 1}, {"mobile", mobile}};
    Command("POST", "/session/" + m_session + "/goog/cdp/execute",
            QJsonObject{{"cmd", "Emulation.setDeviceMetricsOverride"}, {"params", metrics}});
}

void WebDriver::Load(const QString& url) { Command("POST", "/session/" + m_session + "/url", QJsonObject{{"url", url}}); }

QJsonValue WebDriver::Run(const QString& script)
{
    return Command("POST", "/session/" + m_session + "/execute/sync",
                   QJsonObject{{"script", script}, {"args", QJsonArray()}});
}

void WebDriver::SavePicture(const QString& name)
{
    const QString folder = qEnvironmentVariable("QUORVANE_BROWSER_IMAGES");
    if (folder.isEmpty()) return;
    const QByteArray png = QByteArray::fromBase64(Command("GET", "/session/" + m_session + "/screenshot").toString().toLatin1());
    QFile file(QDir(folder).filePath(name + QStringLiteral(".png")));
    if (file.open(QIODevice::WriteOnly)) file.write(png);
}
