#include "csv_writer.h"

#include <stdexcept>

namespace quillon {

QString CsvWriter::quoted(const QString& field) {
    const bool needsQuotes =
        field.contains(u',') || field.contains(u'"') || field.contains(u'\n') ||
        field.contains(u'\r') ||
        (!field.isEmpty() && (field.front().isSpace() || field.back().isSpace()));
    if (!needsQuotes)
        return field;
    QString text = field;
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

void CsvWriter::writeRecord(const QStringList& fields) {
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += u',';
        line += quoted(fields[i]);
    }
    // A record of one empty field is written "" so that it doesn't read as a blank line.
    if (line.isEmpty())
        line = QStringLiteral("\"\"");
    line += QStringLiteral("\r\n");
    const QByteArray bytes = line.toUtf8();
    if (device_.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write: " + device_.errorString().toStdString());
}

} // namespace quillon
