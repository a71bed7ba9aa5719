#pragma once

#include "housekeeping/text_file_window.h"

namespace quillon {

// The Help window frmHelp: how to use the program, the text of help.dat.
class HelpWindow final : public TextFileWindow {
    Q_OBJECT

public:
    // helpFile: the Application folder's help.dat.
    explicit HelpWindow(const QString& helpFile, QWidget* parent = nullptr);

    // The text box at its opening size and at its least.
    static constexpr int readableColumns = 80;
    static constexpr int readableLines = 32;
    static constexpr int minimumColumns = 40;
    static constexpr int minimumLines = 10;
};

} // namespace quillon
