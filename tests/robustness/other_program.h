#pragma once

#include <QString>
#include <future>
#include <thread>

namespace quillon::tests {

// Another program changing user.mdb on a thread of its own: 300 custom prices added in one
// transaction whose pages reach the file before it ends, so that it holds the file locked. An
// ending change commits 300 ms after it is under way; any other is held until the program
// goes, and then rolled back.
class OtherProgram {
public:
    OtherProgram(const QString& store, bool ending);
    ~OtherProgram();
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

private:
    std::promise<void> done_;
    std::thread thread_;
};

} // namespace quillon::tests
