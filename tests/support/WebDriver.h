#pragma once
// Headless Chromium driven through its WebDriver (chromedriver), for the
// tests of pages in a real browser: load a page at a viewport's size and
// ask the document what it rendered.

#include <QJsonValue>
#include <QProcess>
#include <QString>

class WebDriver {
public:
    // Starts chromedriver on a free port and a headless Chromium session.
    // Error() says what failed when it could not.
    WebDriver();
    ~WebDriver();
    WebDriver(const WebDriver&) = delete;
    WebDriver& operator=(const WebDriver&) = delete;

    bool Ready() const { return !m_session.isEmpty(); }
    QString Error() const { return m_error; }

    // The viewport in CSS pixels, as a phone (mobile) or a screen shows it.
    void SetViewport(int width, int height, bool mobile);
    // Loads the address and waits until the page has loaded.
    void Load(const QString& url);
    // Runs script (a function body, "return ...") in the page; its value.
    QJsonValue Run(const QString& script);
    // A picture of the viewport, saved as a PNG file in the folder
    // QUORVANE_BROWSER_IMAGES names, when it names one.
    void SavePicture(const QString& name);

private:
    QJsonValue Command(const QByteArray& method, const QString& path, const QJsonValue& body = {});

    QProcess m_driver;
    int m_port = 0;
    QString m_session;
    QString m_error;
    QString m_profile;
};
