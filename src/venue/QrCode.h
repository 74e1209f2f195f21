#pragma once
// QR codes of the venue display's address, encoded by libqrencode: as an
// image for the Venue Display dialog and as inline SVG for the projector.

#include <QImage>
#include <QString>

#include <vector>

// The modules of one QR code, row by row; size 0 when the text could not be
// encoded.
struct QrCode {
    int size = 0;
    std::vector<bool> dark;  // size * size modules, true = dark

    bool Dark(int x, int y) const { return dark[size_t(y) * size_t(size) + size_t(x)]; }
};

// The text (UTF-8) as a QR code with medium error correction.
QrCode EncodeQrCode(const QString& text);

// The code as black modules on white, each modulePixels wide, with the quiet
// zone of four modules around it that a reader needs; a null image for an
// empty code.
QImage QrCodeImage(const QrCode& code, int modulePixels);

// The code as an inline <svg> element, quiet zone included, that scales to
// the box it is laid out in; label is its accessible name (escaped here).
QString QrCodeSvg(const QrCode& code, const QString& label);
