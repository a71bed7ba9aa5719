#include "signal_cleanup.h"

#include <QFile>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace quillon {

namespace {

// What the handler reads: fixed storage, so that it needs no allocation and no lock.
constexpr int slotCount = 16;
constexpr std::size_t pathSize = 4096;
char paths[slotCount][pathSize];
volatile std::sig_atomic_t inUse[slotCount];

constexpr int handledSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int handledCount = sizeof handledSignals / sizeof handledSignals[0];
struct sigaction before[handledCount]; // what each signal did before, done after the removal

extern "C" void removeAndStop(int signal) {
    bool removed = false;
    for (int i = 0; i < slotCount; ++i) {
        if (inUse[i] != 0 && ::unlink(paths[i]) == 0)
            removed = true;
    }
    if (removed) {
        static const char note[] = "quillon-db: stopped; its unfinished files are removed\n";
        (void)!::write(STDERR_FILENO, note, sizeof note - 1);
    }
    // Blocked while this handler runs, the signal is then taken as it was before: by default it
    // ends the process.
    for (int i = 0; i < handledCount; ++i) {
        if (handledSignals[i] == signal)
            ::sigaction(signal, &before[i], nullptr);
    }
    ::raise(signal);
}

void installOnce() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    for (int i = 0; i < handledCount; ++i) {
        if (::sigaction(handledSignals[i], nullptr, &before[i]) != 0 ||
            before[i].sa_handler == SIG_IGN)
            continue;
        struct sigaction handler {};
        handler.sa_handler = removeAndStop;
        ::sigfillset(&handler.sa_mask);
        ::sigaction(handledSignals[i], &handler, nullptr);
    }
}

} // namespace

SignalCleanup::SignalCleanup(const QStringList& names) {
    installOnce();
    for (const QString& name : names) {
        const QByteArray path = QFile::encodeName(name);
        if (path.size() >= static_cast<qsizetype>(pathSize))
            continue;
        for (int i = 0; i < slotCount; ++i) {
            if (inUse[i] == 0) {
                std::memcpy(paths[i], path.constData(), static_cast<std::size_t>(path.size()) + 1);
                inUse[i] = 1;
                slots_.push_back(i);
                break;
            }
        }
    }
}

SignalCleanup::~SignalCleanup() {
    for (const int i : slots_)
        inUse[i] = 0;
}

} // namespace quillon
