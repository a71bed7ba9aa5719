#include "tool_commands.h"

#include "asset_maker.h"
#include "catalogue_importer.h"
#include "demo_catalogue.h"
#include "import_error.h"
#include "replacement_file.h"
#include "store/database.h"
#include "store/query_authorizer.h"
#include "store/recordset.h"
#include "store/schema.h"
#include "store/shown_path.h"
#include "store/statement_translator.h"
#include "store/store_error.h"
#include "store/store_recovery.h"
#include "user_data_restore.h"

#include <QDir>
#include <QFileInfo>
#include <limits>
#include <optional>
#include <stdexcept>
#include <variant>

namespace quillon {

namespace {

const QString demoCommand = QStringLiteral("demo-catalogue");
const QString importCommand = QStringLiteral("import-catalogue");
const QString templateCommand = QStringLiteral("make-user-template");
const QString queryCommand = QStringLiteral("query");
const QString checkCommand = QStringLiteral("check");
const QString assetsCommand = QStringLiteral("make-assets");
const QString restoreCommand = QStringLiteral("restore-user-data");

// A value on one line of the query output: tabs, line breaks, backslashes and NUL characters
// written as \t, \n, \r, \\ and \0, so that every row stays one line of tab-separated fields.
QString outputField(const QString& text) {
    QString field;
    field.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\')
            field += QStringLiteral("\\\\");
        else if (c == QChar(0))
            field += QStringLiteral("\\0");
        else if (c == u'\t')
            field += QStringLiteral("\\t");
        else if (c == u'\n')
            field += QStringLiteral("\\n");
        else if (c == u'\r')
            field += QStringLiteral("\\r");
        else
            field += c;
    }
    return field;
}

} // namespace

QString ToolCommands::usage() {
    return QStringLiteral(
        "Usage: quillon-db COMMAND ARGUMENTS...\n"
        "\n"
        "The tool for the people who ship and support Dorvane Quillon.\n"
        "\n"
        "Commands:\n"
        "  demo-catalogue --parts N --seed S --out DIR\n"
        "        Invent a catalogue of N parts, the same for the same seed S: DIR/parts.csv\n"
        "        with the Parts columns, and its pictures in DIR/images/.\n"
        "  import-catalogue CSV DB\n"
        "        Build the Catalogue database DB (parts.mdb) from the price file CSV (a file,\n"
        "        a FIFO, or - for standard input). The header names Parts columns in any\n"
        "        order; ID may be left out. DB is replaced only when every row has gone in,\n"
        "        only when it is a catalogue, and only when CSV did not change while it was\n"
        "        read.\n"
        "  make-user-template FILE\n"
        "        Write the empty User database (systemuserDB.dat) to FILE.\n"
        "  query DB STATEMENT\n"
        "        Run one SELECT, INSERT, UPDATE or DELETE in the stores' dialect, or a PRAGMA\n"
        "        that reads. A SELECT (or a PRAGMA) prints a line of column names and one\n"
        "        tab-separated line per row; the others print the number of rows changed.\n"
        "        Nothing else is run: no other file is opened or written.\n"
        "  check DB\n"
        "        Check the file's integrity; prints \"ok\" or what is wrong. A file left\n"
        "        mid-change by an interrupted update is mended first.\n"
        "  restore-user-data BACKUP USERDB\n"
        "        Put the backup BACKUP (userdatabackup.mdb) in the place of the User database\n"
        "        USERDB (user.mdb) while Dorvane Quillon is closed. The old USERDB is kept as\n"
        "        USERDB.before-restore.\n"
        "  --help\n"
        "        Show this text.\n"
        "\n"
        "Every command that opens a store first deals with a journal an interrupted\n"
        "change left beside it, and says on stderr what it found and did: the change\n"
        "is undone from the journal and the file checked; a journal that doesn't\n"
        "belong to the file (written for a larger file, or one that damages it) is\n"
        "set aside as FILE-journal-set-aside and the file left or put back exactly as\n"
        "it was.\n"
        "\n"
        "Exit status: 0 done, 1 failed, 2 bad arguments.\n");
}

bool ToolCommands::needsGui(const QStringList& arguments) {
    return !arguments.isEmpty() && (arguments[0] == demoCommand || arguments[0] == assetsCommand);
}

int ToolCommands::badArguments(const QString& problem) {
    err_ << "quillon-db: " << problem << "\n\n" << usage();
    return BadArguments;
}

int ToolCommands::run(const QStringList& arguments) {
    if (arguments.isEmpty())
        return badArguments(QStringLiteral("no command given"));
    const QString& command = arguments[0];
    const QStringList rest = arguments.mid(1);
    if (command == QLatin1String("--help") || command == QLatin1String("-h") ||
        command == QLatin1String("help")) {
        out_ << usage();
        return Done;
    }
    try {
        if (command == demoCommand)
            return demoCatalogue(rest);
        if (command == importCommand)
            return importCatalogue(rest);
        if (command == templateCommand)
            return makeUserTemplate(rest);
        if (command == queryCommand)
            return query(rest);
        if (command == checkCommand)
            return check(rest);
        if (command == assetsCommand)
            return makeAssets(rest);
        if (command == restoreCommand)
            return restoreUserData(rest);
    } catch (const StoreError& error) {
        err_ << command << ": " << error.message() << '\n';
        if (!error.statement().isEmpty())
            err_ << "  in: " << error.statement() << '\n';
        return Failed;
    } catch (const std::exception& error) {
        err_ << command << ": " << QString::fromLocal8Bit(error.what()) << '\n';
        return Failed;
    }
    return badArguments(QStringLiteral("unknown command \"%1\"").arg(command));
}

int ToolCommands::demoCatalogue(const QStringList& arguments) {
    qint64 parts = -1;
    std::uint64_t seed = 0;
    bool haveSeed = false;
    QString folder;
    for (qsizetype i = 0; i < arguments.size(); i += 2) {
        const QString& option = arguments[i];
        if (i + 1 >= arguments.size())
            return badArguments(QStringLiteral("%1 needs a value").arg(option));
        const QString& value = arguments[i + 1];
        bool ok = false;
        if (option == QLatin1String("--parts")) {
            parts = value.toLongLong(&ok);
            if (!ok || parts < 1 || parts > std::numeric_limits<qint32>::max())
                return badArguments(QStringLiteral("--parts wants a number from 1 to 2147483647"));
        } else if (option == QLatin1String("--seed")) {
            seed = value.toULongLong(&ok);
            if (!ok)
                return badArguments(QStringLiteral("--seed wants a whole number"));
            haveSeed = true;
        } else if (option == QLatin1String("--out")) {
            folder = value;
        } else {
            return badArguments(QStringLiteral("unknown option \"%1\"").arg(option));
        }
    }
    if (parts < 0 || !haveSeed || folder.isEmpty())
        return badArguments(QStringLiteral("demo-catalogue needs --parts, --seed and --out"));

    const bool showProgress = parts >= 50000;
    qint64 nextReport = parts / 20;
    DemoCatalogue catalogue(seed);
    catalogue.write(folder, parts, [&](qint64 done, qint64 total) {
        if (showProgress && (done >= nextReport || done == total)) {
            err_ << "demo-catalogue: " << done << " of " << total << " parts\n";
            err_.flush();
            nextReport = done + total / 20;
        }
    });
    out_ << "demo-catalogue: wrote " << parts << " parts to "
         << shownPath(QDir(folder).absoluteFilePath(QStringLiteral("parts.csv"))) << '\n';
    return Done;
}

int ToolCommands::importCatalogue(const QStringList& arguments) {
    if (arguments.size() != 2)
        return badArguments(QStringLiteral("import-catalogue needs CSV and DB"));
    const QString& csv = arguments[0];
    const QString& db = arguments[1];
    // "-" is standard input, whose size is not known before it is read.
    const bool fromInput = csv == QLatin1String("-");
    const bool showProgress = !fromInput && QFileInfo(csv).size() >= 8 * 1024 * 1024;
    reportLeftovers(importCommand, QFileInfo(db).absolutePath());
    // The old catalogue's journal is dealt with before a new file takes its name beside it.
    if (QFileInfo(db).isFile() && !QFileInfo(db).isSymLink())
        reportRecovery(StoreRecovery::recover(db));
    try {
        const qint64 parts =
            CatalogueImporter::import(csv, db, [&](qint64 done, qint64 total, qint64 partsSoFar) {
                if (!showProgress || total <= 0)
                    return;
                err_ << "import-catalogue: " << (done * 100 / total) << "% (" << partsSoFar
                     << " parts)\n";
                err_.flush();
            });
        out_ << "import-catalogue: " << parts << " parts in " << shownPath(db) << '\n';
    } catch (const ImportError& error) {
        err_ << "import-catalogue: "
             << (fromInput ? QStringLiteral("standard input") : shownPath(csv));
        if (error.line() > 0)
            err_ << ", line " << error.line();
        err_ << ": " << error.message() << '\n';
        err_ << "import-catalogue: nothing written; " << shownPath(db) << " is unchanged\n";
        return Failed;
    }
    return Done;
}

int ToolCommands::makeUserTemplate(const QStringList& arguments) {
    if (arguments.size() != 1)
        return badArguments(QStringLiteral("make-user-template needs FILE"));
    ReplacementFile target(arguments[0]);
    {
        std::unique_ptr<Database> db = Database::create(target.buildPath());
        Schema::createUser(*db);
        db->close();
    }
    target.commit();
    out_ << "make-user-template: wrote " << shownPath(target.targetPath()) << '\n';
    return Done;
}

int ToolCommands::query(const QStringList& arguments) {
    if (arguments.size() != 2)
        return badArguments(QStringLiteral("query needs DB and STATEMENT"));
    const QString& statement = arguments[1];
    // An INSERT, UPDATE or DELETE writes; a SELECT and a PRAGMA (which may only read) read.
    using Kind = TranslatedStatement::Kind;
    const Kind kind = StatementTranslator::kindOf(statement);
    const bool writes = kind == Kind::Insert || kind == Kind::Update || kind == Kind::Delete;
    std::unique_ptr<Database> db = Database::open(
        arguments[0], writes ? Database::Access::ReadWrite : Database::Access::ReadOnly);
    noteUndoneChange(*db);
    // The statement reads and changes rows of this store, and nothing else: no other file.
    QueryAuthorizer rules(db->handle());
    if (const QString refused = rules.refusalBefore(statement); !refused.isEmpty())
        throw StoreError(refused, statement);
    std::optional<std::variant<Recordset, int>> ran;
    try {
        ran = db->run(statement);
    } catch (const StoreError&) {
        if (!rules.refusal().isEmpty())
            throw StoreError(rules.refusal(), statement);
        throw;
    }
    std::variant<Recordset, int>& outcome = *ran;
    if (const int* changed = std::get_if<int>(&outcome)) {
        out_ << *changed << '\n';
        return Done;
    }
    Recordset& rows = std::get<Recordset>(outcome);
    QStringList header;
    for (const QString& name : rows.columnNames())
        header << outputField(name);
    out_ << header.join(u'\t') << '\n';
    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
        QString line;
        for (int column = 0; column < rows.columnCount(); ++column) {
            if (column > 0)
                line += u'\t';
            line += outputField(rows.field(column).toText());
        }
        out_ << line << '\n';
    }
    return Done;
}

int ToolCommands::check(const QStringList& arguments) {
    if (arguments.size() != 1)
        return badArguments(QStringLiteral("check needs DB"));
    std::unique_ptr<Database> db = Database::open(arguments[0], Database::Access::ReadOnly);
    noteUndoneChange(*db);
    const QStringList problems = db->integrityCheck();
    if (problems.isEmpty()) {
        out_ << "ok\n";
        return Done;
    }
    for (const QString& problem : problems)
        out_ << problem << '\n';
    return Failed;
}

void ToolCommands::reportLeftovers(const QString& command, const QString& folder) {
    const ReplacementFile::Leftovers removed = ReplacementFile::removeLeftovers(folder);
    if (removed.names.isEmpty())
        return;
    err_ << command << ": removed " << removed.names.size()
         << " files that stopped runs left behind (" << removed.bytes
         << " bytes): " << removed.names.join(QStringLiteral(", ")) << '\n';
}

int ToolCommands::restoreUserData(const QStringList& arguments) {
    if (arguments.size() != 2)
        return badArguments(QStringLiteral("restore-user-data needs BACKUP and USERDB"));
    reportLeftovers(restoreCommand, QFileInfo(arguments[1]).absolutePath());
    const UserDataRestore::Result result = UserDataRestore::restore(arguments[0], arguments[1]);
    out_ << "restore-user-data: " << shownPath(QFileInfo(arguments[1]).absoluteFilePath())
         << " now holds the data of " << shownPath(arguments[0]) << '\n';
    if (!result.keptAs.isEmpty())
        out_ << "restore-user-data: the old file is kept as " << shownPath(result.keptAs) << '\n';
    for (const QString& journal : result.movedOn)
        out_ << "restore-user-data: the journal of an interrupted change beside it moved to "
             << shownPath(journal) << '\n';
    return Done;
}

void ToolCommands::noteUndoneChange(const Database& db) {
    reportRecovery(db.recovery());
}

void ToolCommands::reportRecovery(const StoreRecovery::Outcome& outcome) {
    if (const QString said = outcome.describe(); !said.isEmpty())
        err_ << "quillon-db: " << said << '\n';
}

int ToolCommands::makeAssets(const QStringList& arguments) {
    if (arguments.size() != 1)
        return badArguments(QStringLiteral("make-assets needs DIR"));
    AssetMaker::writeAll(arguments[0]);
    out_ << "make-assets: wrote the icons to " << shownPath(arguments[0]) << '\n';
    return Done;
}

} // namespace quillon
