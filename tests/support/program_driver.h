#pragma once

#include "program_run.h"
#include "test_app_folder.h"

#include <QLineEdit>
#include <QSize>
#include <QStringList>
#include <QVariantMap>

namespace quillon {
class FlexGrid;
class Recordset;
} // namespace quillon

namespace quillon::tests {

// One row for a store: column name -> value. A null QVariant stores Null; an amount column takes
// a plain decimal text ("12.5"), a Boolean column a bool.
using Row = QVariantMap;

// The program driven as a user drives it: a fresh Application folder with what a test puts in
// it, the real main window started (and started again) on it, the controls found by objectName,
// and what the window and the stores show. Every missing control fails the run at once, naming it.
class ProgramDriver : public TestAppFolder, public ProgramRun {
public:
    // --- The folder (values always reach the stores as bound parameters)
    // A row from "column=value" pairs joined by "|" ("ID=1|DorvaneNum=DV100"), values as texts.
    static Row row(const QString& pairs);
    // Rows into the catalogue's Parts table; before the start.
    void addParts(const QList<Row>& rows) const;
    // The same from rows written as row() takes them.
    void addParts(const QStringList& rows) const;
    // Rows into a User database table: the open store once started, else user.mdb (made empty
    // from the schema when missing).
    void addRows(const QString& table, const QList<Row>& rows) const;
    // A file of these bytes at a path relative to the folder (its folders made).
    void writeFile(const QString& relativePath, const QByteArray& bytes) const;
    // A photograph of that size, in the format the name's suffix says (JPEG for .jpg).
    void writePicture(const QString& relativePath, QSize size = {60, 40}) const;
    // The grid's picture marker image-icon.bmp (12x12) and images/htmlIcon.jpg (htmlIconSize()).
    void writeIcons() const;
    static QSize htmlIconSize() { return {20, 20}; }
    // The shipped Order form templates and 1pixel-black.gif (from QUILLON_TEST_DATA).
    void copyOrderFormFiles() const;

    // --- Running
    // Starts the window shown and active; a window that doesn't come up ends the run.
    MainWindow& run();
    // Destroys the window and the program state, forgets what the dialogs and browser recorded
    // (their scripts stay), and runs the program again on the same folder.
    MainWindow& restart();

    // --- Acting
    // A control (widget or action) of the window by objectName; ends the run when there is none.
    template <typename T = QWidget> T* control(const QString& objectName) const {
        T* found = find<T>(objectName);
        if (found == nullptr)
            qFatal("the window has no control %s", qPrintable(objectName));
        return found;
    }
    // Replaces the text of a box (a line edit or an editable list) as typing does, with the focus.
    void type(const QString& box, const QString& text) const;
    // The same for a box of any window: short plain text typed key by key, the rest pasted.
    static void typeInto(QLineEdit* edit, const QString& text);
    // Clicks a button (or any control) by objectName with the left mouse button.
    void click(const QString& button) const;
    // A menu item by objectName, triggered as a click on it does.
    void trigger(const QString& action) const;
    // A key pressed where the focus is.
    static void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {});
    // Types the number into txtPart and clicks its Search button.
    void searchPart(const QString& number) const;
    // Clicks (twice: double-clicks) a cell of the results grid or the one given; rows from 1.
    void clickCell(int row, int column, bool twice = false) const;
    static void clickCell(const FlexGrid& grid, int row, int column, bool twice = false);
    // Clicks the heading of a column of the results grid.
    void clickHeading(int column) const;

    // --- Observing
    // The text of a Status bar panel (1 ... 4).
    QString status(int panel = 1) const;
    // The results grid MSFlexGrid1.
    FlexGrid* grid() const;
    // The texts of the results grid's data rows 1 ... N in one column.
    QStringList gridColumn(int column) const;
    // Every row of a grid as its view shows it (the header row 0 first), its texts joined by "|".
    static QStringList gridRows(const FlexGrid& grid);
    // The rows of a SELECT on the User database (the open store, else user.mdb), each as its
    // values' texts joined by "|", Null as "<null>".
    QStringList userRows(const QString& select) const;
    // The same of another store file (a backup), opened for reading.
    static QStringList rowsIn(const QString& store, const QString& select);

private:
    static QStringList rowsOf(Recordset rows);
};

} // namespace quillon::tests
