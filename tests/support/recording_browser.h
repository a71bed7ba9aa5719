#pragma once

#include "platform/browser.h"

#include <QList>

namespace quillon {

// The browser and mail client of the tests: records each request; answers as a browser (a mail
// client) that starts, unless told that none can.
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

    struct Mail {
        QString subject;
        QStringList attachments;
    };

    [[nodiscard]] bool mail(const QString& subject, const QStringList& attachments) override {
        mails_.append(Mail{subject, attachments});
        return mailAvailable_;
    }

    const QList<Request>& requests() const { return requests_; }
    const QList<Mail>& mails() const { return mails_; }
    void clear() {
        requests_.clear();
        mails_.clear();
    }
    // false: every request fails as if no browser could be started (still recorded).
    void setAvailable(bool available) { available_ = available; }
    // false: every message fails as if no mail client could be started (still recorded).
    void setMailAvailable(bool available) { mailAvailable_ = available; }

private:
    QList<Request> requests_;
    QList<Mail> mails_;
    bool available_ = true;
    bool mailAvailable_ = true;
};

} // namespace quillon
