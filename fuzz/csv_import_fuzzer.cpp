// The CSV price file, for any bytes: the reader gives records or stops with ImportError at a
// line; the import of quillon-db builds a sound catalogue holding a part for every record after
// the header, or stops with an error and leaves no file behind.

#include "catalogue_importer.h"
#include "csv_reader.h"
#include "fuzz_support.h"
#include "import_error.h"
#include "store/database.h"

#include <QBuffer>
#include <QFile>
#include <exception>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using Records = std::vector<std::vector<QByteArray>>;

std::optional<Records> readAll(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    quillon::CsvReader reader(buffer);
    Records records;
    std::vector<QByteArray> fields;
    try {
        while (reader.readRecord(fields)) {
            FUZZ_CHECK(!fields.empty() && reader.recordLine() >= 1, "a record");
            records.push_back(fields);
        }
    } catch (const quillon::ImportError& error) {
        FUZZ_CHECK(error.line() >= 1, error.message());
        return std::nullopt;
    }
    FUZZ_CHECK(reader.bytesConsumed() == bytes.size(), "bytes left unread");
    return records;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = quillon::fuzz::bytes(data, size);
    const auto records = readAll(bytes);

    const QString folder = quillon::fuzz::scratchFolder();
    const QString target = folder + u"/parts.mdb";
    QFile::remove(target);
    QFile file(folder + u"/prices.csv");
    FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), "written");
    file.close();
    qint64 parts = -1;
    QString refusal;
    try {
        parts = quillon::CatalogueImporter::import(file.fileName(), target);
    } catch (const std::exception& error) { // ImportError, StoreError and the like
        refusal = QString::fromUtf8(error.what());
    }
    QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    left.removeAll(u"prices.csv"_s);
    FUZZ_CHECK(left == (parts < 0 ? QStringList() : QStringList{u"parts.mdb"_s}),
               refusal + u" left " + left.join(u' '));
    if (parts >= 0) {
        FUZZ_CHECK(records && parts == qint64(records->size()) - 1, "not a part a record");
        const auto db = quillon::Database::open(target, quillon::Database::Access::ReadOnly);
        FUZZ_CHECK(db->integrityCheck().isEmpty(), db->integrityCheck().join(u' '));
        FUZZ_CHECK(db->openRecordset(u"SELECT COUNT(*) FROM Parts"_s).field(0).toInteger() == parts,
                   "the catalogue holds another number of parts");
    }
    return 0;
}
