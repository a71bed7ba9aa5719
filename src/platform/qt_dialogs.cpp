#include "platform/qt_dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

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

Dialogs::Button QtDialogs::messageBox(const QString& prompt, Buttons buttons, Icon icon,
                                      const QString& title, Button defaultButton) {
    QMessageBox box(boxParent());
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
    const int pressed = box.exec();
    if (buttons == Buttons::OkSavePdf)
        return box.clickedButton() == savePdf ? Button::SavePdf : Button::Ok;
    if (buttons == Buttons::Ok)
        return Button::Ok;
    return pressed == QMessageBox::Yes ? Button::Yes : Button::No;
}

QString QtDialogs::inputBox(const QString& prompt, const QString& title,
                            const QString& defaultText) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(boxParent(), titleOrDefault(title), displayText(prompt),
                              QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
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
