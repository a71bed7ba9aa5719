#pragma once

#include "housekeeping/text_file_window.h"

namespace quillon {

// The Help window frmHelp: how to use the program, the text of help.dat.
class HelpWindow final : public TextFileWindow {
    Q_OBJECT

public:
    // helpFile: the Application folder's help.dat.
    explicit HelpWindow(const QString& helpFile, QWidget* parent = nullptr);
};

} // namespace quillon
