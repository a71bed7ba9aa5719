#pragma once

#include "session/selected_part.h"
#include "store/database.h"
#include "store/recordset.h"

#include <QString>
#include <array>
#include <memory>
#include <vector>

namespace quillon {

// The program-wide state: one instance for the whole run, shared by every window (passed by
// reference), zeroed when it is made (False, 0, empty text, no store, closed results).
struct ProgramState {
    // The open stores.
    std::unique_ptr<Database> catalogueDb; // parts.mdb, read-only
    std::unique_ptr<Database> userDb;      // user.mdb; the backup closes and reopens it

    // The current order.
    bool orderActive = false;
    qint32 currentOrderNum = 0; // keeps its last value after the order is deleted or completed

    // The search and the results grid.
    Recordset searchRecordset;
    std::vector<qint32> resultPartIds; // catalogue ID of grid row r at index r - 1
    bool resultsListed = false;

    // The part shown in Part Detail, written whole by the catalogue when it shows a part.
    SelectedPart selectedPart;
    static constexpr int pictureSlots = 9;
    // Picture k (1 ... 9) of the part shown at index k - 1, and the last three characters of each.
    std::array<QString, pictureSlots> pictureFiles;
    std::array<QString, pictureSlots> pictureKinds;

    // The picture window.
    QString viewPictureFile;
    qint32 lastVScrollValue = 0;
    qint32 lastHScrollValue = 0;
};

} // namespace quillon
