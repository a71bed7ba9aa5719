#pragma once

class QWidget;

namespace quillon {

struct AppContext;
struct ProgramState;
class AppFolder;
class Browser;
class Dialogs;

// What a click on one of the nine thumbnails of Part Detail opens: a photograph ("jpg") in the
// picture window, shown modally; a picture page ("htm" or "tml") in a new browser window without
// address, menu and status bars; anything else nothing.
class PartPictures final {
public:
    PartPictures(ProgramState& state, Dialogs& dialogs, Browser& browser, const AppFolder& folder,
                 QWidget* parent);
    explicit PartPictures(const AppContext& context);

    // The click on thumbnail Image<slot>, slot 1 ... 9. Returns once the picture window has
    // closed; a browser window stays open on its own. A picture or page that can't be shown is
    // reported in a message box.
    void openPicture(int slot);

private:
    ProgramState& state_;
    Dialogs& dialogs_;
    Browser& browser_;
    const AppFolder& folder_;
    QWidget* parent_;
};

} // namespace quillon
