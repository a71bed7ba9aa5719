#pragma once

#include <QStringList>
#include <vector>

namespace quillon {

// Removes files that must not outlive the tool when it is stopped by SIGINT, SIGTERM or SIGHUP
// (Ctrl+C, kill, a closed terminal), then hands the signal to what took it before: by default,
// the end of the process. The files are named while the object lives; a signal that the tool
// was started to ignore stays ignored. SIGKILL can't be caught: ReplacementFile::removeLeftovers()
// clears up after it.
class SignalCleanup final {
public:
    explicit SignalCleanup(const QStringList& paths);
    ~SignalCleanup();
    SignalCleanup(const SignalCleanup&) = delete;
    SignalCleanup& operator=(const SignalCleanup&) = delete;

private:
    std::vector<int> slots_; // the places of this object's paths in the handler's list
};

} // namespace quillon
