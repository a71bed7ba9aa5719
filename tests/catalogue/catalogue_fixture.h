#pragma once

#include "platform/flex_grid.h"
#include "platform/image_box.h"
#include "program_driver.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quillon::tests {

// One catalogue row: column name -> value as text; a column left out is Null.
using Part = QMap<QString, QString>;

// The catalogue fixture of test_hostile, on ProgramDriver: a small catalogue of the given parts
// and the picture icons, the window started by start(). (Goes once those tests use the driver.)
class CatalogueFixture : public ProgramDriver {
public:
    explicit CatalogueFixture(const QList<Part>& parts) {
        addParts(parts);
        writeIcons();
    }
    void addParts(const QList<Part>& parts) const {
        QList<Row> rows;
        for (const Part& part : parts) {
            rows.append(Row());
            for (auto it = part.begin(); it != part.end(); ++it)
                rows.last().insert(it.key(), it.value());
        }
        ProgramDriver::addParts(rows);
    }
    MainWindow& start() { return run(); }
    template <typename T> T* find(const QString& objectName) const {
        return control<T>(objectName);
    }
    QLineEdit* box(const QString& name) const { return find<QLineEdit>(name); }
    QPushButton* button(const QString& name) const { return find<QPushButton>(name); }
    QLabel* label(const QString& name) const { return find<QLabel>(name); }
    QComboBox* vehicles() const { return find<QComboBox>(QStringLiteral("lstApplication")); }
    ImageBox* thumbnail(int slot) const {
        return find<ImageBox>(QStringLiteral("Image%1").arg(slot));
    }
    bool thumbnailShown(int slot) const {
        return thumbnail(slot)->isVisible() && thumbnail(slot)->hasPicture();
    }
    void searchDesc(const QString& keyword, const QString& vehicle = QStringLiteral("- any -")) {
        type(QStringLiteral("txtDesc"), keyword);
        type(QStringLiteral("lstApplication"), vehicle);
        click(QStringLiteral("cmdSearchDesc"));
    }
    QStringList listedNumbers() const { return gridColumn(0); }
    // Rows of customParts as "DorvaneNum|RoverNum|CustomerPrice|CustomerLRPrice|Unit".
    QStringList customParts() const {
        return userRows(QStringLiteral("SELECT DorvaneNum, RoverNum, CustomerPrice, "
                                       "CustomerLRPrice, CustomerUnitSale FROM customParts"));
    }
};

} // namespace quillon::tests
