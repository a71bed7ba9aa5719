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
    // Blocked while the handler runs, the signal ends the process as soon as it returns.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    ::sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal);
}

void installOnce() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    for (const int signal : handledSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN)
            continue;
        struct sigaction handler {};
        handler.sa_handler = removeAndStop;
        ::sigfillset(&handler.sa_mask);
        ::sigaction(signal, &handler, nullptr);
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
