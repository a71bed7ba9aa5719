#pragma once

#include "platform/browser.h"

namespace quillon {

// The desktop's web browser. A window without bars uses a Chromium-family browser's app mode when
// one is installed; everything else goes to the desktop's default browser. Mail goes to the
// desktop's mail client through xdg-email.
class DesktopBrowser final : public Browser {
public:
    [[nodiscard]] bool open(const QString& filePath, Bars bars) override;
    [[nodiscard]] bool mail(const QString& subject, const QStringList& attachments) override;
};

} // namespace quillon
