#include "housekeeping/about_window.h"

#include "housekeeping/user_data_backup.h"

#include <QLabel>
#include <QLayout>
#include <QVBoxLayout>

namespace quillon {

QString AboutWindow::contact() {
    return QStringLiteral("Telephone: ") + QLatin1String(UserDataBackup::kItTelephone);
}

AboutWindow::AboutWindow(const QString& aboutFile, QWidget* parent)
    : TextFileWindow(QStringLiteral("frmAbout"), QStringLiteral("About Dorvane Quillon"),
                     QStringLiteral("Version 1.0.0"), aboutFile, parent) {
    auto* lblCredit1 = new QLabel(QLatin1String(kCredit), this);
    lblCredit1->setObjectName("lblCredit1");
    auto* lblCredit2 = new QLabel(contact(), this);
    lblCredit2->setObjectName("lblCredit2");
    lblCredit2->setTextInteractionFlags(Qt::TextSelectableByMouse);
    headingLayout()->addSpacing(6);
    headingLayout()->addWidget(lblCredit1);
    headingLayout()->addWidget(lblCredit2);

    // A fixed dialog frame: no minimise or maximise button, no task bar entry, no resizing.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace quillon
