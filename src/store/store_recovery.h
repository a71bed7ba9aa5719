#pragma once

#include <QString>
#include <functional>

namespace quillon {

class Database;

// The one step that deals with the journal of an interrupted change left beside a store file
// (a process killed or the power cut mid-change). Every opening of a store goes through it: the
// program's start, every command of the support tool, a store opened again.
//
// The engine plays such a journal back into the file as it opens it, and trusts that the
// journal belongs to the file. One that doesn't (a backup copied over the file by hand, the old
// journal still beside it) would damage a sound file. So:
//  - a journal written for a larger file than the one beside it is set aside unplayed (a file
//    becomes smaller than its journal says only once a change has been written whole);
//  - otherwise the file is copied first, the engine plays the journal back, and the file is
//    checked (the engine's integrity check; the tables of the Catalogue or User database when
//    the file was one before; the caller's own check when given). When the check fails, the copy is
//    put back in the file's place byte for byte and the journal set aside, so that no later opening
//    plays it again.
// A journal that the engine doesn't take for one of an interrupted change (none, empty, or one
// of a change running now in another process) is left alone.
class StoreRecovery final {
public:
    // What was found beside the file and what was done.
    struct Outcome {
        enum class Kind {
            Nothing,           // no journal of an interrupted change: nothing done
            Undone,            // the interrupted change undone from its journal; the file sound
            JournalOfLarger,   // a journal written for a larger file: set aside, file untouched
            JournalDamagedFile // playing the journal back damaged the file: the file put back
                               // byte for byte and the journal set aside
        };
        Kind kind = Kind::Nothing;
        QString file;       // the store file, links followed
        QString journal;    // the journal found beside it
        QString setAsideAs; // where the journal now is (JournalOfLarger, JournalDamagedFile)
        QString damage;     // what the check found after the playback (JournalDamagedFile)
        QString faultNow;   // what is wrong with the file as it now stands; empty when sound
        qint64 fileSize = 0;
        qint64 journalFileSize = 0; // the size of the file the journal was written for

        // What was found and what was done, for the support tool's user; empty for Nothing.
        [[nodiscard]] QString describe() const;
    };

    // A check of the file after the playback beyond the engine's own: empty when it passes,
    // else what is wrong. It may throw StoreError, which counts as a failed check.
    using Check = std::function<QString(Database&)>;

    // Deals with a journal beside the store file at path as described above. Throws StoreError,
    // having left the file and its journal as they were, when the journal needs playing back
    // but the file or its folder can't be written, when the copy can't be made, when another
    // program has the file locked (the message then holds "database is locked"), or when the
    // playback itself fails. Throws also when a damaged file can't be put back; the message then
    // names the copy that holds the file as it was.
    static Outcome recover(const QString& path, const Check& check = {});

    // Where the file is kept while its journal is played back.
    [[nodiscard]] static QString keptCopyName(const QString& file);
};

} // namespace quillon
