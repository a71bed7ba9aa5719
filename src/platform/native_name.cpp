#include "platform/native_name.h"

#include <QFile>
#include <QStringList>

namespace quillon {

namespace {

// The length of the well-formed UTF-8 sequence at i, or 0 when the byte there begins none.
qsizetype sequenceAt(const QByteArray& bytes, qsizetype i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const qsizetype length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || i + length > bytes.size())
        return 0;
    const QByteArray sequence = bytes.mid(i, length);
    // Overlong forms, surrogates and continuation bytes out of place don't come back the same.
    return QString::fromUtf8(sequence).toUtf8() == sequence ? length : 0;
}

} // namespace

bool NativeName::readsBack(const QByteArray& name) {
    return QFile::encodeName(QFile::decodeName(name)) == name;
}

QString NativeName::shown(const QByteArray& name) {
    QString text;
    for (qsizetype i = 0; i < name.size();) {
        if (const qsizetype length = sequenceAt(name, i)) {
            text += QString::fromUtf8(name.mid(i, length));
            i += length;
        } else {
            text += QStringLiteral("\\x") + QString::number(static_cast<unsigned char>(name[i]), 16)
                                                .rightJustified(2, u'0')
                                                .toUpper();
            ++i;
        }
    }
    return text;
}

QString NativeName::unhandledFolder(const QByteArray& name, const QString& role) {
    QStringList bytes;
    for (qsizetype i = 0; i < name.size();) {
        const qsizetype length = sequenceAt(name, i);
        if (length == 0) {
            const QString byte = shown(name.mid(i, 1));
            if (!bytes.contains(byte))
                bytes << byte;
        }
        i += length == 0 ? 1 : length;
    }
    const QString given = role.isEmpty() ? QString() : u' ' + role;
    const bool one = bytes.size() == 1;
    return QStringLiteral("The folder %1%2 can't be used: its name holds %3 (%4) that %5 UTF-8 "
                          "text, the encoding of this system, so Dorvane Quillon can't name the "
                          "files in it.\r\n\r\nRename the folder (or the folder above it whose "
                          "name holds %6) to a name of ordinary characters, then start Dorvane "
                          "Quillon again. Nothing has been changed.")
        .arg(shown(name), given, one ? QStringLiteral("a byte") : QStringLiteral("bytes"),
             bytes.join(QStringLiteral(", ")),
             one ? QStringLiteral("isn't") : QStringLiteral("aren't"),
             one ? QStringLiteral("it") : QStringLiteral("them"));
}

} // namespace quillon
