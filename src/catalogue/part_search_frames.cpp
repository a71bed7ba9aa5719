#include "catalogue/part_search_frames.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quillon {

namespace {

template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

PartSearchFrames::PartSearchFrames(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("partSearchFrames"));

    framePartSearch =
        named(new QGroupBox(QStringLiteral("Part Number Search"), this), "framePartSearch");
    lblEnterPart =
        named(new QLabel(QStringLiteral("Enter &part number:"), framePartSearch), "lblEnterPart");
    txtPart = named(new QLineEdit(framePartSearch), "txtPart");
    txtPart->setToolTip(QStringLiteral("Enter a DV or Rover number"));
    cmdSearchPart =
        named(new QPushButton(QStringLiteral("Search"), framePartSearch), "cmdSearchPart");
    cmdSearchPart->setToolTip(QStringLiteral("Search for part number"));

    auto* partLayout = new QGridLayout(framePartSearch);
    partLayout->addWidget(lblEnterPart, 0, 0);
    partLayout->addWidget(txtPart, 0, 1);
    partLayout->addWidget(cmdSearchPart, 0, 2);
    partLayout->setColumnStretch(1, 1);

    frameDescSearch =
        named(new QGroupBox(QStringLiteral("Part Description Search"), this), "frameDescSearch");
    lblEnterDesc =
        named(new QLabel(QStringLiteral("Enter &keyword:"), frameDescSearch), "lblEnterDesc");
    txtDesc = named(new QLineEdit(frameDescSearch), "txtDesc");
    txtDesc->setToolTip(QStringLiteral("Enter a single keyword or part of a description"));
    lblSelectVehicle =
        named(new QLabel(QStringLiteral("&Select vehicle"), frameDescSearch), "lblSelectVehicle");
    lstApplication = named(new QComboBox(frameDescSearch), "lstApplication");
    lstApplication->setEditable(true);
    lstApplication->setInsertPolicy(QComboBox::NoInsert);
    lstApplication->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lstApplication->setMinimumContentsLength(11);
    cmdSearchDesc =
        named(new QPushButton(QStringLiteral("Search"), frameDescSearch), "cmdSearchDesc");
    cmdSearchDesc->setToolTip(QStringLiteral("Search for part description"));

    auto* descLayout = new QGridLayout(frameDescSearch);
    // One row, as the part number's: the results below get the height.
    descLayout->addWidget(lblEnterDesc, 0, 0);
    descLayout->addWidget(txtDesc, 0, 1);
    descLayout->addWidget(lblSelectVehicle, 0, 2);
    descLayout->addWidget(lstApplication, 0, 3);
    descLayout->addWidget(cmdSearchDesc, 0, 4);
    descLayout->setColumnStretch(1, 3);
    descLayout->setColumnStretch(3, 2);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(framePartSearch, 2);
    layout->addWidget(frameDescSearch, 3);

    // Alt+P, Alt+K and Alt+S reach the boxes (the menus have F, E, V and H); a screen reader
    // names each box by its label.
    lblEnterPart->setBuddy(txtPart);
    lblEnterDesc->setBuddy(txtDesc);
    lblSelectVehicle->setBuddy(lstApplication);
    cmdSearchPart->setAccessibleName(QStringLiteral("Search part number"));
    cmdSearchDesc->setAccessibleName(QStringLiteral("Search description"));

    setTabOrder(txtPart, cmdSearchPart);
    setTabOrder(cmdSearchPart, txtDesc);
    setTabOrder(txtDesc, lstApplication);
    setTabOrder(lstApplication, cmdSearchDesc);
}

const QStringList& PartSearchFrames::vehicleNames() {
    static const QStringList names{anyVehicle(),
                                   QStringLiteral("Series 3"),
                                   QStringLiteral("Defender"),
                                   QStringLiteral("Range Rover"),
                                   QStringLiteral("New R/Rover"),
                                   QStringLiteral("Discovery"),
                                   QStringLiteral("Discovery 2"),
                                   QStringLiteral("TD 5"),
                                   QStringLiteral("Freelander")};
    return names;
}

void PartSearchFrames::addVehicles() {
    lstApplication->addItems(vehicleNames());
    lstApplication->setCurrentIndex(0);
    lstApplication->setEditText(anyVehicle());
}

} // namespace quillon
