#include "csv_reader.h"

#include "import_error.h"

namespace quillon {

namespace {
constexpr qint64 chunkSize = 1 << 20;
constexpr int endOfInput = -1;
const QByteArray byteOrderMark("\xEF\xBB\xBF");

// A byte-order mark belongs only at the start of the file; anywhere else it is invisible in an
// editor and would make a field that looks right wrong, so it is named.
void refuseByteOrderMark(const QByteArray& field, qint64 line) {
    if (field.endsWith(byteOrderMark))
        throw ImportError(QStringLiteral("a UTF-8 byte-order mark (the bytes EF BB BF) stands "
                                         "here; only the start of the file may have one (were "
                                         "two files joined?)"),
                          line);
}
} // namespace

CsvReader::CsvReader(QIODevice& device) : device_(device) {
    // The mark that some editors put at the start of a UTF-8 file is not part of the first field.
    if (refill() && buffer_.startsWith(byteOrderMark))
        pos_ = byteOrderMark.size();
}

bool CsvReader::refill() {
    if (atEnd_)
        return false;
    consumedBefore_ += pos_;
    pos_ = 0;
    buffer_.resize(chunkSize);
    const qint64 got = device_.read(buffer_.data(), chunkSize);
    if (got < 0) // not the end: the input can't be read on
        throw ImportError(QStringLiteral("can't be read: %1").arg(device_.errorString()), 0);
    buffer_.resize(got);
    if (buffer_.isEmpty()) {
        atEnd_ = true;
        return false;
    }
    return true;
}

int CsvReader::next() {
    if (pos_ == buffer_.size() && !refill())
        return endOfInput;
    return static_cast<unsigned char>(buffer_[pos_++]);
}

int CsvReader::peek() {
    if (pos_ == buffer_.size() && !refill())
        return endOfInput;
    return static_cast<unsigned char>(buffer_[pos_]);
}

void CsvReader::finishLine(int first) {
    if (first == '\r' && peek() == '\n')
        (void)next();
    ++line_;
}

void CsvReader::readQuoted(QByteArray& field) {
    for (;;) {
        const int c = next();
        if (c == endOfInput)
            throw ImportError(
                QStringLiteral("a quoted field is not closed before the end of the file"),
                recordLine_);
        if (c == '"') {
            if (peek() != '"')
                return;
            (void)next();
            field.append('"');
            continue;
        }
        // Line breaks inside quotes belong to the field, and still count as lines of the file.
        if (c == '\n' || (c == '\r' && peek() != '\n'))
            ++line_;
        field.append(static_cast<char>(c));
        if (c == 0xBF)
            refuseByteOrderMark(field, line_);
    }
}

int CsvReader::readUnquoted(QByteArray& field) {
    for (;;) {
        const int c = next();
        if (c == ',' || c == '\r' || c == '\n' || c == endOfInput)
            return c;
        if (c == '"')
            throw ImportError(QStringLiteral("a double quote inside a field that does not begin "
                                             "with one (quote the whole field and double it)"),
                              line_);
        field.append(static_cast<char>(c));
        if (c == 0xBF)
            refuseByteOrderMark(field, line_);
    }
}

bool CsvReader::readRecord(std::vector<QByteArray>& fields) {
    fields.clear();
    // Blank lines between records are skipped.
    for (;;) {
        const int c = peek();
        if (c == endOfInput)
            return false;
        if (c != '\r' && c != '\n')
            break;
        finishLine(next());
    }
    recordLine_ = line_;
    for (;;) {
        QByteArray& field = fields.emplace_back();
        int end = 0;
        if (peek() == '"') {
            (void)next();
            readQuoted(field);
            end = next();
            if (end != ',' && end != '\r' && end != '\n' && end != endOfInput)
                throw ImportError(QStringLiteral("text follows the closing quote of a field"),
                                  line_);
        } else {
            end = readUnquoted(field);
        }
        if (end == ',')
            continue;
        if (end != endOfInput)
            finishLine(end);
        return true;
    }
}

} // namespace quillon
