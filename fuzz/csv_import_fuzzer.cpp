// The CSV price file: the reader and the catalogue import of quillon-db. For any file:
//  - reading either gives records or stops with ImportError, nothing else;
//  - records read back unchanged after writing them out again with the tool's CSV writer;
//  - the import either builds a sound Catalogue database holding one part per record, or stops
//    with one of its documented errors and leaves no file behind.
//
// Input: the bytes of the CSV file.

#include "catalogue_importer.h"
#include "csv_reader.h"
#include "csv_writer.h"
#include "fuzz_support.h"
#include "import_error.h"
#include "store/database.h"
#include "store/store_error.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <stdexcept>
#include <vector>

namespace {

using quillon::fuzz::visible;
using Records = std::vector<std::vector<QByteArray>>;

// Every record of the bytes, or nothing when the reader finds a fault.
std::optional<Records> readAll(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    quillon::CsvReader reader(buffer);
    Records records;
    std::vector<QByteArray> fields;
    try {
        while (reader.readRecord(fields)) {
            FUZZ_CHECK(!fields.empty(), QStringLiteral("a record without fields"));
            FUZZ_CHECK(reader.recordLine() >= 1, QStringLiteral("a record before line 1"));
            records.push_back(fields);
        }
    } catch (const quillon::ImportError& error) {
        FUZZ_CHECK(error.line() >= 1, QStringLiteral("a fault without a line: ") + error.message());
        return std::nullopt;
    }
    FUZZ_CHECK(reader.bytesConsumed() == bytes.size(), QStringLiteral("bytes left unread"));
    return records;
}

bool allUtf8(const Records& records) {
    for (const auto& record : records) {
        for (const QByteArray& field : record) {
            if (!QUtf8StringView(field).isValidUtf8())
                return false;
        }
    }
    return true;
}

void checkWriteAndReadBack(const Records& records) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    quillon::CsvWriter writer(buffer);
    for (const auto& record : records) {
        QStringList fields;
        for (const QByteArray& field : record)
            fields << QString::fromUtf8(field);
        writer.writeRecord(fields);
    }
    // What the writer was given: the fields as text (a byte order mark at the start of a field
    // doesn't survive the conversion).
    Records expected = records;
    for (auto& record : expected) {
        for (QByteArray& field : record)
            field = QString::fromUtf8(field).toUtf8();
    }
    const auto again = readAll(buffer.data());
    FUZZ_CHECK(again.has_value(), QStringLiteral("the writer's output can't be read: ") +
                                      visible(QString::fromUtf8(buffer.data())));
    FUZZ_CHECK(*again == expected, QStringLiteral("records change when written and read again: ") +
                                       visible(QString::fromUtf8(buffer.data())));
}

QStringList leftovers(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.removeAll(QStringLiteral("prices.csv"));
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = quillon::fuzz::bytes(data, size);
    const auto records = readAll(bytes);
    if (records && allUtf8(*records))
        checkWriteAndReadBack(*records);

    const QString folder = quillon::fuzz::scratchFolder();
    const QString csv = folder + QStringLiteral("/prices.csv");
    const QString target = folder + QStringLiteral("/parts.mdb");
    QFile::remove(target);
    {
        QFile file(csv);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size())
            quillon::fuzz::fail(__FILE__, __LINE__, "write", QStringLiteral("can't write ") + csv);
    }
    qint64 lastBytes = 0;
    const auto progress = [&](qint64 done, qint64 total, qint64) {
        FUZZ_CHECK(done >= lastBytes && done <= total, QStringLiteral("progress goes wrong"));
        lastBytes = done;
    };
    qint64 parts = -1;
    QString refusal;
    try {
        parts = quillon::CatalogueImporter::import(csv, target, progress);
    } catch (const quillon::ImportError& error) {
        refusal = error.message();
    } catch (const quillon::StoreError& error) {
        refusal = error.message();
    } catch (const std::runtime_error& error) {
        refusal = QString::fromStdString(error.what());
    }

    if (parts < 0) {
        FUZZ_CHECK(leftovers(folder).isEmpty(), QStringLiteral("a refused import (%1) left %2")
                                                    .arg(refusal, leftovers(folder).join(u' ')));
        return 0;
    }
    FUZZ_CHECK(records.has_value(), QStringLiteral("the import took a file the reader refuses"));
    FUZZ_CHECK(parts == qint64(records->size()) - 1,
               QStringLiteral("%1 parts from %2 records").arg(parts).arg(records->size()));
    FUZZ_CHECK(leftovers(folder) == QStringList{QStringLiteral("parts.mdb")},
               QStringLiteral("the import left ") + leftovers(folder).join(u' '));
    const auto db = quillon::Database::open(target, quillon::Database::Access::ReadOnly);
    FUZZ_CHECK(db->integrityCheck().isEmpty(), db->integrityCheck().join(u' '));
    const auto count = db->openRecordset(QStringLiteral("SELECT COUNT(*) AS n FROM Parts"));
    FUZZ_CHECK(count.field(QStringLiteral("n")).toInteger() == parts,
               QStringLiteral("the catalogue holds another number of parts"));
    return 0;
}
