#pragma once

#include "platform/browser.h"

namespace quillon {

// The desktop's web browser. A window without bars uses a Chromium-family browser's app mode when
// one is installed; everything else goes to the desktop's default browser.
class DesktopBrowser final : public Browser {
public:
    [[nodiscard]] bool open(const QString& filePath, Bars bars) override;
};

} // namespace quillon
