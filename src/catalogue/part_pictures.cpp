#include "catalogue/part_pictures.h"

#include "catalogue/picture_file.h"
#include "catalogue/picture_window.h"
#include "platform/app_folder.h"
#include "platform/browser.h"
#include "platform/dialogs.h"
#include "session/app_context.h"
#include "session/main_window_interface.h"
#include "session/program_state.h"
#include "store/shown_path.h"

#include <QDir>

namespace quillon {

PartPictures::PartPictures(ProgramState& state, Dialogs& dialogs, Browser& browser,
                           const AppFolder& folder, QWidget* parent)
    : state_(state), dialogs_(dialogs), browser_(browser), folder_(folder), parent_(parent) {}

PartPictures::PartPictures(const AppContext& context)
    : PartPictures(context.state, context.dialogs, context.browser, context.folder,
                   context.window.windowWidget()) {}

void PartPictures::openPicture(int slot) {
    if (slot < 1 || slot > ProgramState::pictureSlots)
        return;
    const QString& kind = state_.pictureKinds[static_cast<std::size_t>(slot - 1)];
    const QString& file = state_.pictureFiles[static_cast<std::size_t>(slot - 1)];
    // A name from the catalogue that leads out of the images folder is never opened (Part Detail
    // shows no thumbnail for it either).
    const auto path = PictureFile::path(folder_, file);
    if (!path)
        return;

    if (kind == QLatin1String("jpg")) {
        state_.viewPictureFile = file;
        PictureWindow window(*path, parent_);
        if (!window.hasPicture()) {
            dialogs_.messageBox(window.loadError(), Dialogs::Buttons::Ok,
                                Dialogs::Icon::Exclamation);
            return;
        }
        state_.lastVScrollValue = 0;
        state_.lastHScrollValue = 0;
        dialogs_.showModal(window);
        state_.lastVScrollValue = window.geometry().lastVScrollValue();
        state_.lastHScrollValue = window.geometry().lastHScrollValue();
    } else if (kind == QLatin1String("htm") || kind == QLatin1String("tml")) {
        const QString& page = *path;
        if (!browser_.open(page, Browser::Bars::Hidden)) {
            dialogs_.messageBox(
                QStringLiteral("The page %1 could not be opened: no web browser could be started.")
                    .arg(shownPath(page)),
                Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
        }
    }
}

} // namespace quillon
