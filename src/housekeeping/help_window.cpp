#include "housekeeping/help_window.h"

#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTextDocument>

namespace quillon {

HelpWindow::HelpWindow(const QString& helpFile, QWidget* parent)
    : TextFileWindow(QStringLiteral("frmHelp"), QStringLiteral("Help"),
                     QStringLiteral("How to use the Quillon"), helpFile, parent) {
    // Opens showing a page of the text at a time, lines of a printed page's length, as far as
    // the screen allows; it can be made smaller, down to a box of 40 columns and 10 lines.
    QPlainTextEdit* box = descriptionBox();
    const QFontMetrics metrics(box->font());
    const int chrome = 2 * box->frameWidth() + qRound(box->document()->documentMargin() * 2);
    const int scrollBar = box->verticalScrollBar()->sizeHint().width();
    const auto boxSize = [&](int columns, int lines) {
        return QSize(columns * metrics.averageCharWidth() + chrome + scrollBar,
                     lines * metrics.lineSpacing() + chrome);
    };
    box->setMinimumSize(boxSize(minimumColumns, minimumLines));
    const QSize extra = sizeHint() - box->minimumSize();
    const QSize wanted = boxSize(readableColumns, readableLines) + extra;
    const QScreen* shownOn = parent != nullptr ? parent->screen() : screen();
    const QSize room =
        shownOn != nullptr ? shownOn->availableGeometry().size() - QSize(16, 40) : wanted;
    resize(wanted.boundedTo(room).expandedTo(minimumSizeHint()));
}

} // namespace quillon
