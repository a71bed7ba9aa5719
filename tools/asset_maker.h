#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace quillon {

// The small binary files that ship in the Application folder: the one-pixel black GIF of the
// Order form's rules, the camera marker of the results grid and the web-page icon shown for
// picture pages. Drawing needs a QGuiApplication.
class AssetMaker final {
public:
    // Writes folder/1pixel-black.gif, folder/image-icon.bmp and folder/images/htmlIcon.jpg.
    // Throws std::runtime_error when a file can't be written.
    static void writeAll(const QString& folder);

    [[nodiscard]] static QByteArray blackPixelGif();
    [[nodiscard]] static QImage cameraMarker();
    [[nodiscard]] static QImage webPageIcon();
};

} // namespace quillon
