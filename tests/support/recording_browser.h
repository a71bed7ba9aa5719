#pragma once

#include "platform/browser.h"

#include <QList>

namespace quillon {

// The browser of the tests: records each request; answers as a browser that starts, unless told
// that none can.
class RecordingBrowser final : public Browser {
public:
    struct Request {
        QString path;
        Bars bars = Bars::Shown;
    };

    [[nodiscard]] bool open(const QString& filePath, Bars bars) override {
        requests_.append(Request{filePath, bars});
        return available_;
    }

    const QList<Request>& requests() const { return requests_; }
    void clear() { requests_.clear(); }
    // false: every request fails as if no browser could be started (still recorded).
    void setAvailable(bool available) { available_ = available; }

private:
    QList<Request> requests_;
    bool available_ = true;
};

} // namespace quillon
