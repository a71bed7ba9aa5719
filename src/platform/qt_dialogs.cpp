#include "platform/qt_dialogs.h"

#include "platform/keyboard_access.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

namespace quillon {

namespace {

QWidget* boxParent() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

QString titleOrDefault(const QString& title) {
    return title.isEmpty() ? Dialogs::applicationTitle() : title;
}

} // namespace

QString QtDialogs::displayText(const QString& prompt) {
    QString text = prompt;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

int QtDialogs::titleBarWidth(const QString& title) {
    QFont font = QApplication::font();
    font.setBold(true);
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * 1.2);
    else
        font.setPixelSize(font.pixelSize() * 6 / 5);
    // The icon on the left, minimise, maximise and close on the right, and the bar's margins.
    constexpr int windowButtons = 4 * 32 + 24;
    return QFontMetrics(font).horizontalAdvance(title) + windowButtons;
}

std::unique_ptr<QMessageBox> QtDialogs::buildBox(const QString& prompt, Buttons buttons, Icon icon,
                                                 const QString& title, Button defaultButton) {
    auto owned = std::make_unique<QMessageBox>(boxParent());
    QMessageBox& box = *owned;
    box.setWindowTitle(titleOrDefault(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(displayText(prompt));
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    }
    QPushButton* savePdf = nullptr;
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(defaultButton == Button::No ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else if (buttons == Buttons::OkSavePdf) {
        savePdf = box.addButton(QStringLiteral("Save as &PDF…"), QMessageBox::ActionRole);
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(savePdf);
        box.setEscapeButton(QMessageBox::Ok);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
    }
    // The box sizes itself to its text and buttons; a row as wide as the title keeps it from
    // being narrower than the title bar needs.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(titleBarWidth(box.windowTitle()), 0, QSizePolicy::Fixed,
                                      QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    KeyboardAccess::prepare(&box);
    return owned;
}

Dialogs::Button QtDialogs::messageBox(const QString& prompt, Buttons buttons, Icon icon,
                                      const QString& title, Button defaultButton) {
    const std::unique_ptr<QMessageBox> box = buildBox(prompt, buttons, icon, title, defaultButton);
    const int pressed = box->exec();
    if (buttons == Buttons::OkSavePdf) {
        QAbstractButton* clicked = box->clickedButton();
        return clicked != nullptr && box->buttonRole(clicked) == QMessageBox::ActionRole
                   ? Button::SavePdf
                   : Button::Ok;
    }
    if (buttons == Buttons::Ok)
        return Button::Ok;
    return pressed == QMessageBox::Yes ? Button::Yes : Button::No;
}

QString QtDialogs::inputBox(const QString& prompt, const QString& title,
                            const QString& defaultText) {
    QInputDialog dialog(boxParent());
    dialog.setWindowTitle(titleOrDefault(title));
    dialog.setLabelText(displayText(prompt));
    dialog.setTextValue(defaultText);
    KeyboardAccess::prepare(&dialog);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

QString QtDialogs::saveFileName(const QString& title, const QString& suggestedPath,
                                const QString& filter) {
    // The dialog asks before replacing a file.
    return QFileDialog::getSaveFileName(boxParent(), titleOrDefault(title), suggestedPath, filter);
}

void QtDialogs::beep() {
    QApplication::beep();
}

int QtDialogs::showModal(QDialog& window) {
    return window.exec();
}

} // namespace quillon
