#pragma once

#include "platform/flex_grid.h"
#include "platform/image_box.h"
#include "program_run.h"
#include "test_app_folder.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QMap>
#include <QPushButton>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace quillon::tests {

// One catalogue row: column name -> value, as quoted text; a column left out is Null.
using Part = QMap<QString, QString>;

// A fresh Application folder with a small catalogue of the given parts, the grid marker
// image-icon.bmp and the web-page icon images/htmlIcon.jpg, and the real main window started on
// it with the scripted dialogs.
class CatalogueFixture : public TestAppFolder, public ProgramRun {
public:
    explicit CatalogueFixture(const QList<Part>& parts);
    // More parts, before the start.
    void addParts(const QList<Part>& parts) const;

    // Starts the program on the folder; the window is shown and active. Call after the pictures
    // a test needs have been written.
    MainWindow& start();

    // A control of the started window; fails the test when there is none.
    template <typename T> T* find(const QString& objectName) const {
        T* found = ProgramRun::find<T>(objectName);
        if (found == nullptr)
            qFatal("no control %s", qPrintable(objectName));
        return found;
    }
    QLineEdit* box(const QString& objectName) const { return find<QLineEdit>(objectName); }
    QPushButton* button(const QString& objectName) const { return find<QPushButton>(objectName); }
    QLabel* label(const QString& objectName) const { return find<QLabel>(objectName); }
    FlexGrid* grid() const;
    QComboBox* vehicles() const;
    ImageBox* thumbnail(int slot) const;

    // Types the text into a search box (emptied first) and clicks its Search button.
    void searchPart(const QString& number);
    void searchDesc(const QString& keyword, const QString& vehicle = QStringLiteral("- any -"));
    // Replaces the text of a box as typing would.
    void type(const QString& boxName, const QString& text);
    void click(const QString& buttonName);

    // What the user sees.
    QString status() const;
    // The texts of one grid column in the data rows 1 ... N.
    QStringList gridColumn(int column) const;
    // The DorvaneNum of every listed row, read from the grid.
    QStringList listedNumbers() const { return gridColumn(0); }
    QString field(const QString& objectName) const;
    // The texts of Part Detail's thirteen value fields, in the order the display fills them.
    QStringList detailFields() const;
    QStringList listEntries(const QString& objectName) const;
    bool thumbnailShown(int slot) const;
    // The grid's selected cells as (grid row, column) pairs, sorted.
    QList<QPair<int, int>> selectedCells() const;
    void clickCell(int row, int column);
    void doubleClickCell(int row, int column);

    // Pictures: a photograph of that size, and any bytes that are no picture.
    void writePicture(const QString& relativePath, QSize size = QSize(60, 40)) const;
    void writeFile(const QString& relativePath, const QByteArray& bytes) const;

    // Rows of customParts as "DorvaneNum|RoverNum|CustomerPrice|CustomerLRPrice|Unit", in the
    // engine's order, Null shown as "<null>".
    QStringList customParts() const;

    static QSize htmlIconSize() { return {20, 20}; }
};

} // namespace quillon::tests
