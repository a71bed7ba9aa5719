#include "other_program.h"

#include <QFile>
#include <chrono>
#include <memory>
#include <sqlite3.h>

namespace quillon::tests {

OtherProgram::OtherProgram(const QString& store, bool ending) {
    std::promise<void> underWay;
    std::future<void> started = underWay.get_future();
    thread_ = std::thread([this, store, ending, underWay = std::move(underWay)]() mutable {
        sqlite3* raw = nullptr;
        sqlite3_open(QFile::encodeName(store).constData(), &raw);
        const std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(raw, sqlite3_close);
        sqlite3_busy_timeout(raw, 5000);
        const int rc = sqlite3_exec(
            raw,
            "PRAGMA cache_size = 1; BEGIN; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
            "SELECT i + 1 FROM n WHERE i < 300) INSERT INTO customParts(DorvaneNum, RoverNum) "
            "SELECT 'NEW' || i, printf('%.600c', 'x') FROM n",
            nullptr, nullptr, nullptr);
        underWay.set_value();
        if (rc != SQLITE_OK)
            return;
        if (ending)
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        else
            done_.get_future().wait();
        sqlite3_exec(raw, ending ? "COMMIT" : "ROLLBACK", nullptr, nullptr, nullptr);
    });
    started.wait();
}

OtherProgram::~OtherProgram() {
    done_.set_value();
    thread_.join();
}

} // namespace quillon::tests
