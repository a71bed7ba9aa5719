#pragma once

#include "store/locale_formats.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace quillon {

class AddressTable;
class Database;
class Recordset;

// Builds the Order form, one HTML page: the header template, the address table, the order number
// paragraph, the middle template, one block of rows per order line with the total row, the footer
// template and one CR LF. Values from the stores are HTML-escaped; the markup made here is not.
// The page is written whole, as UTF-8 with a byte-order mark, and only once every piece is built.
class OrderFormWriter final {
public:
    // The pieces of one page, in page order.
    struct Pieces {
        QString header;
        QString orderBlock;
        QString deliveryBlock;
        QString orderNum;
        QString middle;
        QString items;
        QString footer;
    };

    // catalogue: where each line's description is looked up.
    explicit OrderFormWriter(Database& catalogue, LocaleFormats formats = LocaleFormats());

    // A template's text: decoded as UTF-8 (or as Latin-1 when it isn't valid UTF-8), with every
    // line end (CR LF, or a lone CR) dropped; a lone LF stays.
    [[nodiscard]] static QString templateText(const QByteArray& bytes);
    // Reads a template file whole. Throws OrderFormError naming the file.
    [[nodiscard]] static QString readTemplate(const QString& path);

    // The address block of the record of that name: the eight fields that have a value, each
    // but the telephone number followed by "<br>". Nothing when the table holds no such record.
    [[nodiscard]] static std::optional<QString>
    addressBlock(Database& user, const AddressTable& table, const QString& recordName);

    [[nodiscard]] static QString addressTable(const QString& orderBlock,
                                              const QString& deliveryBlock);
    [[nodiscard]] static QString orderNumberParagraph(const QString& orderNum);
    // The separator row that stands before each line and before the total row.
    [[nodiscard]] static QString separatorRow();

    // The rows of every line of the recordset, first to last, and the total row. Moves the
    // recordset through all its rows.
    [[nodiscard]] QString itemRows(Recordset& lines) const;
    // A line's description: the catalogue's, found by the part key, or the line's own stored
    // description when the line has no number to look up by or the catalogue has no such part.
    [[nodiscard]] QString description(const QString& roverNum, const QString& dorvaneNum,
                                      const QString& storedDescription) const;

    [[nodiscard]] static QString page(const Pieces& pieces);
    // Writes the page as UTF-8 with a byte-order mark through SafeFileWriter: the old page (or a
    // link in its place) is replaced only when the new one is complete. Throws OrderFormError
    // naming the file.
    static void writePage(const QString& path, const QString& page);

    // A value from a store made safe to stand in the page as text.
    [[nodiscard]] static QString escaped(const QString& value) { return value.toHtmlEscaped(); }

private:
    Database& catalogue_;
    LocaleFormats formats_;
};

} // namespace quillon
