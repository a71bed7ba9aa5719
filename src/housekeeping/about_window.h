#pragma once

#include "housekeeping/text_file_window.h"

namespace quillon {

// The About window frmAbout: the program's title, version and credits, and the text of
// about.dat. A fixed dialog frame without minimise and maximise buttons.
class AboutWindow final : public TextFileWindow {
    Q_OBJECT

public:
    static constexpr const char* kCredit =
        "Written for Dorvane PLC by the Quillon development team";
    // The contact: Dorvane's support telephone, as on the letterhead of the order form.
    static QString contact();

    // aboutFile: the Application folder's about.dat.
    explicit AboutWindow(const QString& aboutFile, QWidget* parent = nullptr);
};

} // namespace quillon
