#pragma once

#include <memory>

namespace quillon {

class AppFolder;
class InstanceLock;

// The claim of the Application folder for this run: one run of the program a folder, so that
// two can't each take up the one open order.
class FolderClaim final {
public:
    // Thrown when the program that holds the folder has been asked to show its window instead.
    struct HandedOver {};

    // Claims the folder. Throws HandedOver when another run on this computer holds it and takes
    // the request to show its window; StartUpError when it holds it and doesn't take the request
    // ("Dorvane Quillon is already running from ..."), when the lock file's name is taken by a
    // link, or when the folder can't be written.
    [[nodiscard]] static std::unique_ptr<InstanceLock> claim(const AppFolder& folder);
};

} // namespace quillon
