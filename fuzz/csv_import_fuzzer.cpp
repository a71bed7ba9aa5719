// The CSV price file: the reader and the catalogue import of quillon-db. For any file:
//  - reading gives records or stops with ImportError at a line, nothing else;
//  - records of text read back unchanged after the tool's CSV writer writes them out again;
//  - the import builds a sound Catalogue database holding one part per record after the
//    header, or stops with one of its errors and leaves no file behind.
// Input: the bytes of the CSV file.

#include "catalogue_importer.h"
#include "csv_reader.h"
#include "csv_writer.h"
#include "fuzz_support.h"
#include "import_error.h"
#include "store/database.h"

#include <QBuffer>
#include <QFile>
#include <QStringList>
#include <exception>
#include <optional>
#include <vector>

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

void checkWriteAndReadBack(const Records& records) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    quillon::CsvWriter writer(buffer);
    Records expected = records; // what the writer was given: the fields as text
    for (auto& record : expected) {
        QStringList fields;
        for (QByteArray& field : record) {
            if (!QUtf8StringView(field).isValidUtf8())
                return;
            fields << QString::fromUtf8(field);
            field = fields.last().toUtf8(); // a byte order mark at a field's start goes
        }
        writer.writeRecord(fields);
    }
    FUZZ_CHECK(readAll(buffer.data()) == expected, "records change when written and read again");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = quillon::fuzz::bytes(data, size);
    const auto records = readAll(bytes);
    if (records)
        checkWriteAndReadBack(*records);

    const QString folder = quillon::fuzz::scratchFolder();
    const QString csv = folder + "/prices.csv";
    const QString target = folder + "/parts.mdb";
    QFile::remove(target);
    QFile file(csv);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), csv);
    file.close();
    qint64 lastBytes = 0;
    const auto progress = [&](qint64 done, qint64 total, qint64) {
        FUZZ_CHECK(done >= lastBytes && done <= total, "progress goes back or beyond the end");
        lastBytes = done;
    };
    qint64 parts = -1;
    QString refusal;
    try {
        parts = quillon::CatalogueImporter::import(csv, target, progress);
    } catch (const std::exception& error) { // ImportError, StoreError and the like
        refusal = QString::fromUtf8(error.what());
    }
    QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    left.removeAll("prices.csv");
    if (parts < 0) {
        FUZZ_CHECK(left.isEmpty(), refusal + " left " + left.join(u' '));
        return 0;
    }
    FUZZ_CHECK(records && parts == qint64(records->size()) - 1, "parts not one a record");
    FUZZ_CHECK(left == QStringList{"parts.mdb"}, left.join(u' '));
    const auto db = quillon::Database::open(target, quillon::Database::Access::ReadOnly);
    FUZZ_CHECK(db->integrityCheck().isEmpty(), db->integrityCheck().join(u' '));
    const auto count = db->openRecordset("SELECT COUNT(*) AS n FROM Parts").field(0).toInteger();
    FUZZ_CHECK(count == parts, "the catalogue holds another number of parts");
    return 0;
}
