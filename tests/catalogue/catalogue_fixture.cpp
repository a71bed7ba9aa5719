#include "catalogue_fixture.h"

#include "app/start_up.h"
#include "platform/flex_grid.h"
#include "platform/image_box.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/sql_text.h"
#include "store/transaction.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <algorithm>

namespace quillon::tests {

namespace {

void writeImage(const QString& path, QSize size, Qt::GlobalColor colour, const char* format) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    if (!image.save(path, format))
        qFatal("could not write %s", qPrintable(path));
}

} // namespace

CatalogueFixture::CatalogueFixture(const QList<Part>& parts) {
    addParts(parts);
    writeImage(folder.imageIcon(), QSize(12, 12), Qt::darkGreen, "BMP");
    writeImage(folder.htmlIcon(), htmlIconSize(), Qt::red, "JPEG");
}

void CatalogueFixture::addParts(const QList<Part>& parts) const {
    auto catalogue = Database::open(folder.catalogue(), Database::Access::ReadWrite);
    Transaction transaction(*catalogue);
    for (const Part& part : parts) {
        QStringList values;
        for (auto it = part.begin(); it != part.end(); ++it)
            values << QStringLiteral("'%1' AS %2").arg(sqlEscape(it.value()), it.key());
        catalogue->execute(QStringLiteral("INSERT INTO Parts(%1) SELECT %2")
                               .arg(part.keys().join(u','), values.join(QStringLiteral(", "))));
    }
    transaction.commit();
}

MainWindow& CatalogueFixture::start() {
    if (!startShown(folder))
        qFatal("the main window did not start, or did not become active");
    return *window;
}

FlexGrid* CatalogueFixture::grid() const {
    return find<FlexGrid>(QStringLiteral("MSFlexGrid1"));
}

QComboBox* CatalogueFixture::vehicles() const {
    return find<QComboBox>(QStringLiteral("lstApplication"));
}

ImageBox* CatalogueFixture::thumbnail(int slot) const {
    return find<ImageBox>(QStringLiteral("Image%1").arg(slot));
}

void CatalogueFixture::type(const QString& boxName, const QString& text) {
    QLineEdit* edit = box(boxName);
    edit->setFocus();
    edit->selectAll();
    const bool typeable = std::all_of(
        text.begin(), text.end(), [](QChar c) { return c.unicode() >= 32 && c.unicode() < 127; });
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else if (typeable)
        QTest::keyClicks(edit, text);
    else
        edit->insert(text); // pasted: the test keyboard has only ASCII keys
}

void CatalogueFixture::click(const QString& buttonName) {
    QTest::mouseClick(button(buttonName), Qt::LeftButton);
}

void CatalogueFixture::searchPart(const QString& number) {
    type(QStringLiteral("txtPart"), number);
    click(QStringLiteral("cmdSearchPart"));
}

void CatalogueFixture::searchDesc(const QString& keyword, const QString& vehicle) {
    type(QStringLiteral("txtDesc"), keyword);
    QComboBox* list = vehicles();
    const int index = list->findText(vehicle);
    if (index >= 0)
        list->setCurrentIndex(index);
    else
        list->setEditText(vehicle);
    click(QStringLiteral("cmdSearchDesc"));
}

QString CatalogueFixture::status() const {
    return label(QStringLiteral("StatusBar1Panel1"))->text();
}

QStringList CatalogueFixture::gridColumn(int column) const {
    QStringList texts;
    const FlexGrid* g = grid();
    for (int row = 1; row < g->rows(); ++row)
        texts << g->textMatrix(row, column);
    return texts;
}

QString CatalogueFixture::field(const QString& objectName) const {
    return label(objectName)->text();
}

QStringList CatalogueFixture::detailFields() const {
    QStringList texts;
    for (const char* name :
         {"txtRoverNumber", "txtDRNumber", "txtAltDRNumber", "txtDescription", "txtCustomerPrice",
          "txtLRPrice", "txtCustomerLRPrice", "txtLRDiscountCode", "txtUnitSale", "txtUnitIssue",
          "txtWeight", "txtProductGroup", "txtBrand"})
        texts << field(QLatin1String(name));
    return texts;
}

QStringList CatalogueFixture::listEntries(const QString& objectName) const {
    QStringList entries;
    const auto* list = find<QListWidget>(objectName);
    for (int i = 0; i < list->count(); ++i)
        entries << list->item(i)->text();
    return entries;
}

bool CatalogueFixture::thumbnailShown(int slot) const {
    const ImageBox* image = thumbnail(slot);
    return image->isVisible() && image->hasPicture();
}

QList<QPair<int, int>> CatalogueFixture::selectedCells() const {
    QList<QPair<int, int>> cells;
    for (const QModelIndex& index : grid()->selectionModel()->selectedIndexes())
        cells.append({index.row() + 1, index.column()});
    std::sort(cells.begin(), cells.end());
    return cells;
}

void CatalogueFixture::clickCell(int row, int column) {
    FlexGrid* g = grid();
    const QRect rect = g->visualRect(g->model()->index(row - 1, column));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, rect.center());
}

void CatalogueFixture::doubleClickCell(int row, int column) {
    FlexGrid* g = grid();
    const QRect rect = g->visualRect(g->model()->index(row - 1, column));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, rect.center());
}

void CatalogueFixture::writePicture(const QString& relativePath, QSize size) const {
    writeImage(dir.filePath(relativePath), size, Qt::blue, "JPEG");
}

void CatalogueFixture::writeFile(const QString& relativePath, const QByteArray& bytes) const {
    const QString path = dir.filePath(relativePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("could not write %s", qPrintable(path));
}

QStringList CatalogueFixture::customParts() const {
    Recordset rows = state.userDb->openRecordset(QStringLiteral("SELECT * FROM customParts"));
    QStringList lines;
    const auto text = [&rows](const char* column) {
        const Value& value = rows.field(QString::fromLatin1(column));
        return value.isNull() ? QStringLiteral("<null>") : value.toText();
    };
    for (; !rows.eof(); rows.moveNext()) {
        lines << QStringList{text("DorvaneNum"), text("RoverNum"), text("CustomerPrice"),
                             text("CustomerLRPrice"), text("CustomerUnitSale")}
                     .join(u'|');
    }
    return lines;
}

} // namespace quillon::tests
