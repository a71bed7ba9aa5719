#pragma once

#include <QString>
#include <QStringList>

namespace quillon {

// Tells what kind of file a path names without changing it: the file is read as it stands, and
// a journal beside it is neither read nor rolled back (which opening it as a store would do).
class StoreProbe final {
public:
    enum class Kind {
        Missing,    // nothing there
        Link,       // a symbolic link
        NotAFile,   // a folder or something else that is not a regular file
        NotAStore,  // a file that does not begin as a store file does
        Unreadable, // begins as a store, but its tables can't be read
        Catalogue,  // a store with the table Parts
        UserData,   // a store with tables of the User database
        OtherStore, // a store with neither
    };

    // The tables of the User database.
    static const QStringList& userTables();

    // Whether two paths name the same file (links followed); false when either names nothing.
    [[nodiscard]] static bool sameFile(const QString& a, const QString& b);

    explicit StoreProbe(const QString& path);

    [[nodiscard]] Kind kind() const { return kind_; }
    // The tables of a store that could be read.
    [[nodiscard]] const QStringList& tables() const { return tables_; }
    // Why an Unreadable store could not be read.
    [[nodiscard]] const QString& problem() const { return problem_; }

private:
    Kind kind_ = Kind::Missing;
    QStringList tables_;
    QString problem_;
};

} // namespace quillon
