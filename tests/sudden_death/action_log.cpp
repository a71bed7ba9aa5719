#include "action_log.h"

#include <QFile>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace quillon::tests {

ActionLog::ActionLog(const QString& path) {
    fd_ = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC,
                 0644);
    if (fd_ < 0)
        throw std::runtime_error("can't open the log " + path.toStdString());
}

ActionLog::~ActionLog() {
    if (fd_ >= 0)
        ::close(fd_);
}

void ActionLog::write(const QString& line, bool sync) {
    const QByteArray bytes = line.toUtf8() + '\n';
    // One write per line: a kill leaves at most the last line incomplete.
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n =
            ::write(fd_, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (n < 0)
            throw std::runtime_error("can't write the log");
        written += n;
    }
    if (sync && ::fsync(fd_) != 0)
        throw std::runtime_error("can't sync the log");
}

void ActionLog::begin(int step, const QString& kind, const QStringList& patterns) {
    QStringList fields{QStringLiteral("begin"), QString::number(step), kind};
    fields << patterns;
    // Written at once: a kill doesn't lose what write() has handed to the system.
    write(fields.join(u'\t'), false);
}

void ActionLog::done(int step, const QString& kind, const QList<StoreDump::Change>& changes) {
    QStringList fields{QStringLiteral("done"), QString::number(step), kind};
    for (const StoreDump::Change& change : changes)
        fields << StoreDump::encode(change);
    write(fields.join(u'\t'), true);
}

void ActionLog::note(const QString& text) {
    write(QStringLiteral("note\t") + QString(text).replace(u'\n', u' '), false);
}

QList<ActionLog::Record> ActionLog::read(const QString& path) {
    QFile file(path);
    QList<Record> records;
    if (!file.open(QIODevice::ReadOnly))
        return records;
    const QByteArray all = file.readAll();
    const QList<QByteArray> lines = all.split('\n');
    // The part after the last line end is a line the kill cut short (or nothing).
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QStringList fields = QString::fromUtf8(lines[i]).split(u'\t');
        if (fields.size() < 3 || (fields[0] != u"begin" && fields[0] != u"done"))
            continue;
        Record record;
        record.done = fields[0] == u"done";
        record.step = fields[1].toInt();
        record.kind = fields[2];
        for (qsizetype f = 3; f < fields.size(); ++f) {
            if (!record.done) {
                record.patterns << fields[f];
            } else if (const auto change = StoreDump::decode(fields[f])) {
                record.changes << *change;
            } else {
                throw std::runtime_error("bad change in the log: " + fields[f].toStdString());
            }
        }
        records.append(record);
    }
    return records;
}

bool ActionLog::matches(const QString& pattern, const QString& entity, bool known) {
    if (pattern.endsWith(u'*'))
        return entity.startsWith(QStringView(pattern).chopped(1));
    if (pattern.endsWith(u'+'))
        return !known && entity.startsWith(QStringView(pattern).chopped(1));
    return entity == pattern;
}

} // namespace quillon::tests
