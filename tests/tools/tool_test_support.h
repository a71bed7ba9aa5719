#pragma once

// What the tests of the built programs share: running them, the files they are given and the
// stores they write.
#include "program_run.h"
#include "store/database.h"
#include "test_files.h"

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace quillon::tests::tool {

// A program run to its end (at most two minutes): its exit code (-1: it crashed) and output.
struct Run {
    int exitCode = -1;
    QByteArray out, err;
    QString text() const { return QString::fromUtf8(out + err); }
    QByteArray describe() const {
        return "exit " + QByteArray::number(exitCode) + ": " + out + err;
    }
};

Run run(const QStringList& arguments, const QString& program = QStringLiteral(QUILLON_DB_PATH),
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
using quillon::tests::readFile;
using quillon::tests::writeFile;
QStringList entries(const QString& folder);
// A price file of parts BIG0, BIG1… long enough that importing it takes a while.
QByteArray bigPriceFile(int parts);
// A catalogue of these parts (Dorvane numbers), made by quillon-db at path.
void importParts(const QString& path, const QStringList& numbers);
// The rows of a SELECT, one line each, fields joined by "|", Null as "-", an amount after "£".
QString rowsOf(Database& store, const QString& select);
// A User database of one order of these many lines at path.
void makeUserStore(const QString& path, int lines);
// The Dorvane number of the part a search for number shows, or "" when none is found.
QString searched(ProgramRun& program, const QString& number);
// parts.csv, new.csv (price files), parts.mdb (a catalogue), user.mdb and backup.mdb (empty
// User databases), damaged.mdb, old.mdb with old.mdb.before-restore, notes.txt (no store),
// other.mdb (a store without Parts), link.mdb (a link to parts.mdb) and q.mdb, made in fixture.
void makeFixture(const QTemporaryDir& fixture);

} // namespace quillon::tests::tool
