#include "housekeeping/help_window.h"

#include <QPlainTextEdit>

namespace quillon {

HelpWindow::HelpWindow(const QString& helpFile, QWidget* parent)
    : TextFileWindow(QStringLiteral("frmHelp"), QStringLiteral("Help"),
                     QStringLiteral("How to use the Quillon"), helpFile, parent) {
    descriptionBox()->setMinimumSize(520, 360);
}

} // namespace quillon
