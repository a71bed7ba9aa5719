#include "catalogue_importer.h"

#include "csv_reader.h"
#include "import_error.h"
#include "price_source.h"
#include "replacement_file.h"
#include "store/column_type.h"
#include "store/database.h"
#include "store/locale_formats.h"
#include "store/money.h"
#include "store/schema.h"
#include "store/search_index.h"
#include "store/shown_path.h"
#include "store/store_error.h"
#include "store/transaction.h"
#include "store_probe.h"

#include <QDir>
#include <limits>
#include <memory>
#include <sqlite3.h>
#include <stdexcept>
#include <sys/stat.h>
#include <vector>

namespace quillon {

namespace {

const QString partsTable = QStringLiteral("Parts");

// The place of a name in a list, in any letter case; -1 when it is not there.
qsizetype indexOfName(const QStringList& names, QStringView name) {
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

struct Statement {
    sqlite3_stmt* stmt = nullptr;
    Statement() = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { sqlite3_finalize(stmt); }
};

[[noreturn]] void storeFailure(sqlite3* db, const QString& statement) {
    throw StoreError(QString::fromUtf8(sqlite3_errmsg(db)), statement);
}

// The declared type of every column of Parts, as the store reads it.
std::vector<ColumnType> partsColumnTypes(sqlite3* db, const QStringList& columns) {
    const QString sql = QStringLiteral("SELECT name, type FROM pragma_table_info('Parts')");
    Statement info;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &info.stmt, nullptr) != SQLITE_OK)
        storeFailure(db, sql);
    std::vector<ColumnType> types(columns.size(), ColumnType::Other);
    while (sqlite3_step(info.stmt) == SQLITE_ROW) {
        const QString name =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info.stmt, 0)));
        const qsizetype index = indexOfName(columns, name);
        if (index >= 0)
            types[index] = columnTypeFromDeclared(
                reinterpret_cast<const char*>(sqlite3_column_text(info.stmt, 1)));
    }
    return types;
}

// The header's columns, by their names in the table. Faults name line 1.
QStringList readHeader(CsvReader& reader) {
    std::vector<QByteArray> fields;
    if (!reader.readRecord(fields))
        throw ImportError(QStringLiteral("the file is empty; its first line must name the columns"),
                          1);
    const QStringList& known = Schema::partsColumns();
    QStringList header;
    for (const QByteArray& field : fields) {
        const QString name = QString::fromUtf8(field).trimmed();
        const qsizetype index = indexOfName(known, name);
        if (name.isEmpty())
            throw ImportError(QStringLiteral("the header has an empty column name"), 1);
        if (index < 0)
            throw ImportError(QStringLiteral("unknown column \"%1\"; the columns of Parts are: %2")
                                  .arg(name, known.join(QStringLiteral(", "))),
                              1);
        if (header.contains(known[index]))
            throw ImportError(QStringLiteral("the column %1 is named twice").arg(known[index]), 1);
        header << known[index];
    }
    return header;
}

std::optional<qint64> wholeNumber(const QByteArray& field) {
    const QByteArray text = field.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!((c >= '0' && c <= '9') || (i == 0 && (c == '-' || c == '+'))))
            return std::nullopt;
    }
    bool ok = false;
    const qint64 number = text.toLongLong(&ok);
    return ok ? std::optional<qint64>(number) : std::nullopt;
}

std::optional<Money> amount(const QString& text, const LocaleFormats& formats) {
    if (auto plain = Money::fromPlainText(text))
        return plain;
    return formats.parseAmount(QStringView(text).trimmed());
}

std::optional<bool> flag(const QByteArray& field) {
    const QByteArray text = field.trimmed().toUpper();
    if (text == "TRUE" || text == "YES" || text == "-1" || text == "1")
        return true;
    if (text == "FALSE" || text == "NO" || text == "0")
        return false;
    return std::nullopt;
}

[[noreturn]] void refuseTarget(const QString& dbPath, const QString& what) {
    throw std::runtime_error(
        QStringLiteral("%1 %2; only a Catalogue database is replaced. Nothing written.")
            .arg(shownPath(dbPath), what)
            .toStdString());
}

// Only a catalogue may be replaced: anything else at the target is someone's data.
void checkTarget(const PriceSource& source, const QString& dbPath) {
    if (source.isFile(dbPath))
        refuseTarget(dbPath, QStringLiteral("is the price file itself"));
    const StoreProbe probe(dbPath);
    switch (probe.kind()) {
    case StoreProbe::Kind::Missing:
    case StoreProbe::Kind::Catalogue:
        return;
    case StoreProbe::Kind::Link: // refused by ReplacementFile, which says where it leads
    case StoreProbe::Kind::NotAFile:
        refuseTarget(dbPath, QStringLiteral("is not a file"));
    case StoreProbe::Kind::NotAStore:
        refuseTarget(dbPath, QStringLiteral("is not a store, so not a catalogue"));
    case StoreProbe::Kind::Unreadable:
        refuseTarget(dbPath,
                     QStringLiteral("can't be read as a store (%1); if it is a damaged catalogue, "
                                    "remove it first")
                         .arg(probe.problem()));
    case StoreProbe::Kind::UserData:
        refuseTarget(
            dbPath,
            QStringLiteral("is a User database (a user's orders, prices and addresses), not a "
                           "catalogue"));
    case StoreProbe::Kind::OtherStore:
        refuseTarget(dbPath,
                     QStringLiteral("is a store without a Parts table, so not a catalogue"));
    }
}

// The first bytes tell a store given as a price file (the source is read only once); then the
// header line names the columns.
QStringList readSource(PriceSource& source, CsvReader& reader) {
    if (Database::beginsAsStore(source.firstBytes()))
        throw ImportError(QStringLiteral("the file is a store, not a price file (CSV text)"), 0);
    return readHeader(reader);
}

// Where the fields of a record go: the columns inserted (the header's, then ID when the file
// leaves it out: every part gets an ID, its own or its place in the file), their types, and the
// field that holds the ID (-1 when none does).
struct PartsLayout {
    QStringList header;
    QStringList inserted;
    std::vector<ColumnType> types;
    qsizetype idField = -1;
};

PartsLayout layoutOf(sqlite3* handle, const QStringList& header) {
    const QStringList& columns = Schema::partsColumns();
    const QString idColumn = columns.front();
    PartsLayout layout{header, header, {}, header.indexOf(idColumn)};
    if (layout.idField < 0)
        layout.inserted << idColumn;
    const std::vector<ColumnType> allTypes = partsColumnTypes(handle, columns);
    for (const QString& column : layout.inserted)
        layout.types.push_back(allTypes[columns.indexOf(column)]);
    return layout;
}

QString insertStatement(const PartsLayout& layout) {
    QStringList placeholders;
    for (qsizetype i = 0; i < layout.inserted.size(); ++i)
        placeholders << QStringLiteral("?%1").arg(i + 1);
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(partsTable, layout.inserted.join(QStringLiteral(", ")),
             placeholders.join(QStringLiteral(", ")));
}

// A new, empty catalogue at path, its page cache made larger so that the indexes stay in memory
// while a big file goes in.
std::unique_ptr<Database> newCatalogue(const QString& path) {
    std::unique_ptr<Database> db = Database::create(path);
    Schema::createCatalogue(*db);
    if (sqlite3_exec(db->handle(), "PRAGMA cache_size = -65536", nullptr, nullptr, nullptr) !=
        SQLITE_OK)
        storeFailure(db->handle(), QStringLiteral("PRAGMA cache_size = -65536"));
    return db;
}

// Binds field i of a record of the given line to its parameter, read as its column's type; an
// empty field stays Null. The bound text points into fields, which must outlive the step.
void bindField(sqlite3_stmt* insert, const PartsLayout& layout,
               const std::vector<QByteArray>& fields, qsizetype i, qint64 line,
               const LocaleFormats& formats) {
    const QByteArray& field = fields[i];
    const int parameter = static_cast<int>(i) + 1;
    const auto fault = [&](const QString& wanted) {
        return ImportError(QStringLiteral("%1 holds \"%2\", which is not %3")
                               .arg(layout.header[i], QString::fromUtf8(field), wanted),
                           line);
    };
    if (field.isEmpty()) {
        if (i == layout.idField)
            throw ImportError(QStringLiteral("the part has no ID"), line);
        return; // Null
    }
    if (!QUtf8StringView(field).isValidUtf8())
        throw ImportError(
            QStringLiteral("%1 is not UTF-8 text (save the file as UTF-8)").arg(layout.header[i]),
            line);
    switch (layout.types[i]) {
    case ColumnType::Integer: {
        const auto number = wholeNumber(field);
        if (!number)
            throw fault(QStringLiteral("a whole number"));
        if (i == layout.idField && (*number < 1 || *number > std::numeric_limits<qint32>::max()))
            throw fault(QStringLiteral("an ID from 1 to 2147483647"));
        sqlite3_bind_int64(insert, parameter, *number);
        break;
    }
    case ColumnType::Amount: {
        const auto money = amount(QString::fromUtf8(field), formats);
        if (!money)
            throw fault(QStringLiteral("an amount"));
        sqlite3_bind_int64(insert, parameter, money->units());
        break;
    }
    case ColumnType::Boolean: {
        const auto value = flag(field);
        if (!value)
            throw fault(QStringLiteral("TRUE or FALSE"));
        sqlite3_bind_int(insert, parameter, *value ? 1 : 0);
        break;
    }
    case ColumnType::Text:
    case ColumnType::Other:
        sqlite3_bind_text(insert, parameter, field.constData(), static_cast<int>(field.size()),
                          SQLITE_STATIC);
        break;
    }
}

// Inserts every record the reader holds after the header; returns the parts inserted.
qint64 insertParts(CsvReader& reader, sqlite3* handle, const PartsLayout& layout, qint64 totalBytes,
                   const CatalogueImporter::Progress& progress) {
    const QString sql = insertStatement(layout);
    Statement insert;
    if (sqlite3_prepare_v2(handle, sql.toUtf8().constData(), -1, &insert.stmt, nullptr) !=
        SQLITE_OK)
        storeFailure(handle, sql);
    const LocaleFormats ukFormats(QLocale(QLocale::English, QLocale::UnitedKingdom));
    qint64 parts = 0;
    std::vector<QByteArray> fields;
    qint64 reportedBytes = 0;
    while (reader.readRecord(fields)) {
        const qint64 line = reader.recordLine();
        if (static_cast<qsizetype>(fields.size()) != layout.header.size())
            throw ImportError(QStringLiteral("the record has %1 fields, but the header names %2 "
                                             "columns")
                                  .arg(fields.size())
                                  .arg(layout.header.size()),
                              line);
        sqlite3_reset(insert.stmt);
        sqlite3_clear_bindings(insert.stmt);
        for (qsizetype i = 0; i < layout.header.size(); ++i)
            bindField(insert.stmt, layout, fields, i, line, ukFormats);
        ++parts;
        if (layout.idField < 0)
            sqlite3_bind_int64(insert.stmt, static_cast<int>(layout.inserted.size()), parts);
        if (sqlite3_step(insert.stmt) != SQLITE_DONE) {
            const QString message = QString::fromUtf8(sqlite3_errmsg(handle));
            throw ImportError(QStringLiteral("the store refused the part: %1").arg(message), line);
        }
        if (progress && reader.bytesConsumed() - reportedBytes >= totalBytes / 20) {
            reportedBytes = reader.bytesConsumed();
            progress(reportedBytes, totalBytes, parts);
        }
    }
    sqlite3_reset(insert.stmt);
    return parts;
}

void requireParts(qint64 parts) {
    if (parts == 0)
        throw ImportError(QStringLiteral("the file holds no parts, only the line that names "
                                         "the columns; a catalogue without parts is refused"),
                          0);
}

// The searches' substring index over the nine number columns and the description, with the
// numbers' bare forms (without blanks, dashes, dots and slashes), and the indexes the order
// form's look-ups by part number use.
void indexCatalogue(sqlite3* handle) {
    const QStringList& numbers = Schema::partNumberColumns();
    SearchIndex::create(handle, partsTable, Schema::partsColumns().front(),
                        numbers + QStringList{QStringLiteral("Description")}, numbers);
    for (const char* index : {"CREATE INDEX PartsRoverNum ON Parts (RoverNum)",
                              "CREATE INDEX PartsDorvaneNum ON Parts (DorvaneNum)"}) {
        if (sqlite3_exec(handle, index, nullptr, nullptr, nullptr) != SQLITE_OK)
            storeFailure(handle, QString::fromLatin1(index));
    }
}

} // namespace

qint64 CatalogueImporter::import(const QString& csvPath, const QString& dbPath,
                                 const Progress& progress) {
    ReplacementFile target(dbPath);
    PriceSource source(csvPath);
    checkTarget(source, dbPath);
    try {
        const qint64 parts = build(source, target, progress);
        replace(source, target);
        return parts;
    } catch (const ImportError&) {
        // A file written to while it was read fails for that, whatever it broke on the way.
        source.checkUnchanged();
        throw;
    }
}

qint64 CatalogueImporter::build(PriceSource& source, const ReplacementFile& target,
                                const Progress& progress) {
    CsvReader reader(source);
    const qint64 totalBytes = source.knownSize();
    const QStringList header = readSource(source, reader);
    std::unique_ptr<Database> db = newCatalogue(target.buildPath());
    sqlite3* handle = db->handle();
    const PartsLayout layout = layoutOf(handle, header);
    qint64 parts = 0;
    {
        Transaction transaction(*db);
        parts = insertParts(reader, handle, layout, totalBytes, progress);
        requireParts(parts);
        indexCatalogue(handle);
        transaction.commit();
    }
    db->close();
    return parts;
}

void CatalogueImporter::replace(const PriceSource& source, ReplacementFile& target) {
    // What was read is what the file holds: it did not change on the way.
    source.checkUnchanged();
    target.commit();
}

} // namespace quillon
