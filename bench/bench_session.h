#pragma once

#include "app/main_window.h"
#include "platform/app_folder.h"
#include "recording_browser.h"
#include "scripted_dialogs.h"
#include "session/program_state.h"

#include <QString>
#include <memory>
#include <vector>

namespace quillon::bench {

// A line of an order as it is seeded into the User database.
struct SeedLine {
    QString dorvaneNum;
    QString roverNum;
    QString description;
};

// The real main window started in this process (offscreen) on an Application folder, with the
// scripted dialogs and the recording browser, and the user's steps timed from the button press
// to what the user waits for.
class BenchSession final {
public:
    explicit BenchSession(const QString& folderPath);
    ~BenchSession();
    BenchSession(const BenchSession&) = delete;
    BenchSession& operator=(const BenchSession&) = delete;

    // Before the start: a completed order and, unless open is empty, an open order (taken up
    // at the start), and one
    // order and one delivery address. Returns the completed order's number.
    qint32 seedOrders(const std::vector<SeedLine>& completed, const std::vector<SeedLine>& open);

    // Starts the program on the folder; throws when the window doesn't come up.
    void start();

    struct Search {
        double ms = 0;
        int hits = 0;        // the count label; 0 for "No Parts Found!"
        QString shownNumber; // the DV Number Part Detail shows
    };
    // Types the text and presses Search; timed to the first part shown (and painted).
    Search searchPart(const QString& number);
    Search searchDesc(const QString& keyword, const QString& vehicle);

    // The Down key in the results grid: timed to the next part shown with its thumbnails.
    // pictures: how many thumbnails show.
    double nextRow(int* pictures = nullptr);

    // A click on the results grid's heading of the column: timed to the rows sorted, painted
    // and settled. Throws when the part shown changed.
    double sortBy(int column);

    // Add to Order for the part shown (a part new to the order; the quantity dialog answered
    // with 1 and OK); the line is removed again afterwards, untimed.
    double addLine();
    // View Order: timed from the press to the window filled and shown (its OK then pressed).
    double viewOrder(int* rows = nullptr);
    // The Order form of a completed order (Print Previous Order: the same generation as
    // Finalise), timed from the command to the page written and handed to the browser.
    double orderForm(qint32 orderNum);
    // Save PDF for a completed order (the Previous Orders window's command): timed from the
    // command to the PDF written at path; pages: how many it has (read back by pdfinfo, untimed).
    double orderPdf(qint32 orderNum, const QString& path, int* pages = nullptr);

    ProgramState& state() { return state_; }
    MainWindow& window() { return *window_; }

private:
    template <typename T> T* find(const QString& name) const;
    Search timedSearch(const char* button);

    AppFolder folder_;
    ProgramState state_;
    ScriptedDialogs dialogs_;
    RecordingBrowser browser_;
    std::unique_ptr<MainWindow> window_;
    int viewedRows_ = 0;
};

} // namespace quillon::bench
