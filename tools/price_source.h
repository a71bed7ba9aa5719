#pragma once

#include <QIODevice>
#include <QString>
#include <sys/stat.h>

namespace quillon {

// The price file an import reads, read once from its start to its end through one descriptor:
// a file, a FIFO, or standard input ("-", a pipe or a file the shell opened; not a terminal).
// A device (which may never end) and a folder are refused. Nothing waits for ever: a FIFO that
// no program opens for writing within a while, or whose writer closes it without writing, gives
// nothing; a pipe whose writer has gone ends. A regular file is noted when it is opened (which
// file it is, its size, when it was last written) so that checkUnchanged() can tell whether it
// changed while it was read.
class PriceSource final : public QIODevice {
public:
    // How long a FIFO is given for a program to open it for writing.
    static constexpr int writerWaitSeconds = 20;

    // Opens path ("-": standard input). Throws ImportError saying why it can't be read.
    explicit PriceSource(const QString& path);
    ~PriceSource() override;

    bool isSequential() const override { return true; }

    // How to name the source in a message: its path, or "standard input".
    [[nodiscard]] QString name() const;
    // The bytes a regular file had to read when opened; 0 for a stream.
    [[nodiscard]] qint64 knownSize() const { return expectedBytes_; }
    // Whether the source is the file at path (links followed).
    [[nodiscard]] bool isFile(const QString& path) const;
    // The first bytes read (up to 16), to tell a store from a price file without reading again.
    [[nodiscard]] const QByteArray& firstBytes() const { return firstBytes_; }
    // Throws ImportError when a regular file is no longer the file that was opened, or has been
    // written to, grown or shrunk since (or read to its end, gave another number of bytes than
    // it had): its rows may be half old, half new.
    void checkUnchanged() const;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    // A FIFO opened without waiting: waits a while for a writer. False when none came.
    bool awaitWriter();

    QString path_;
    int fd_ = -1;
    bool ownsFd_ = false;
    bool regular_ = false;
    bool awaitingWriter_ = false;
    struct stat noted_ {};
    qint64 expectedBytes_ = 0; // of a regular file: from where it was opened to its end
    qint64 bytesRead_ = 0;
    bool atEnd_ = false; // read to the end
    QByteArray firstBytes_;
};

} // namespace quillon
