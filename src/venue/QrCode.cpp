#include "venue/QrCode.h"

#include "venue/VenueHtml.h"

#include <QPainter>

#include <qrencode.h>

#include <memory>

namespace {

// The light border a reader needs around the code, in modules.
constexpr int kQuietZone = 4;

struct QrCodeFree {
    void operator()(QRcode* code) const { QRcode_free(code); }
};

}  // namespace

QrCode EncodeQrCode(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    if (utf8.isEmpty()) return {};
    const std::unique_ptr<QRcode, QrCodeFree> encoded(
        QRcode_encodeString(utf8.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1));
    if (!encoded) return {};
    QrCode code;
    code.size = encoded->width;
    code.dark.resize(size_t(code.size) * size_t(code.size));
    for (size_t i = 0; i < code.dark.size(); ++i) code.dark[i] = (encoded->data[i] & 1) != 0;
    return code;
}

QImage QrCodeImage(const QrCode& code, int modulePixels)
{
    if (code.size == 0 || modulePixels <= 0) return {};
    const int side = (code.size + 2 * kQuietZone) * modulePixels;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int y = 0; y < code.size; ++y)
        for (int x = 0; x < code.size; ++x)
            if (code.Dark(x, y))
                painter.fillRect((x + kQuietZone) * modulePixels, (y + kQuietZone) * modulePixels, modulePixels,
                                 modulePixels, Qt::black);
    return image;
}

QString QrCodeSvg(const QrCode& code, const QString& label)
{
    if (code.size == 0) return {};
    // One path: each run of dark modules in a row is one rectangle.
    QString path;
    for (int y = 0; y < code.size; ++y) {
        for (int x = 0; x < code.size;) {
            if (!code.Dark(x, y)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < code.size && code.Dark(x, y)) ++x;
            path += QStringLiteral("M%1 %2h%3v1h-%3z").arg(start + kQuietZone).arg(y + kQuietZone).arg(x - start);
        }
    }
    const int side = code.size + 2 * kQuietZone;
    return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 %1 %1\" role=\"img\" "
                          "aria-label=\"%2\" shape-rendering=\"crispEdges\"><rect width=\"%1\" height=\"%1\" "
                          "fill=\"#fff\"/><path fill=\"#000\" d=\"%3\"/></svg>")
        .arg(side)
        .arg(VenueHtmlEscaped(label), path);
}
