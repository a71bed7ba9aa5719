// A catalogue update in the installed folder while the program runs: the running program keeps
// working on the old file, the next search sees the new parts, the user's own data stays.
#include "install_layout.h"
#include "platform/app_folder_locator.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/store_reload.h"
#include "test_registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <memory>
#include <sys/stat.h>

using quillon::AppFolderLocator;
using quillon::Database;
using quillon::StoreReload;
using quillon::tests::InstallLayout;

namespace {

const QString allParts = QStringLiteral("SELECT DorvaneNum FROM Parts ORDER BY ID");
const QStringList oldParts{QStringLiteral("DA1001")};
const QStringList newParts{QStringLiteral("DA2001"), QStringLiteral("DA2002")};

QStringList search(Database& catalogue) {
    auto parts = catalogue.openRecordset(allParts);
    return InstallLayout::numbersOf(parts);
}

// The per-user folder of an installation, with the user's own data in user.mdb.
struct RunningInstall {
    InstallLayout layout;
    AppFolderLocator::Location location =
        AppFolderLocator({layout.bin(), layout.userFolder(), [](const QString&) { return false; }})
            .locate({QStringLiteral("dorvane-quillon")});

    RunningInstall() {
        QFile::copy(location.folder.userTemplate(), location.folder.userDatabase());
        QFile::setPermissions(location.folder.userDatabase(), QFile::ReadOwner | QFile::WriteOwner);
        auto user = Database::open(location.folder.userDatabase(), Database::Access::ReadWrite);
        user->execute(QStringLiteral("INSERT INTO customParts (RoverNum, DorvaneNum, CustomerPrice)"
                                     " VALUES ('ERRDA1001', 'DA1001', 9.75)"));
    }

    QString installedCatalogue() const { return layout.installed() + QStringLiteral("/parts.mdb"); }
};

} // namespace

class CatalogueUpdateTest final : public QObject {
    Q_OBJECT

private slots:
    void runningProgramSeesNewPartsAtTheNextSearch() {
        RunningInstall install;
        const auto userBefore = InstallLayout::snapshot(install.layout.userFolder());
        // The program opens the catalogue through the link in the user's folder, once.
        auto catalogue =
            Database::open(install.location.folder.catalogue(), Database::Access::ReadOnly);
        QCOMPARE(search(*catalogue), oldParts);
        QVERIFY(!StoreReload::fileReplaced(*catalogue));
        QVERIFY(!StoreReload::reopenIfReplaced(catalogue));

        InstallLayout::importCatalogue(install.installedCatalogue(), newParts);

        // The open connection keeps reading the old file: it goes on working...
        QCOMPARE(search(*catalogue), oldParts);
        QVERIFY(StoreReload::fileReplaced(*catalogue));
        // ...until the search reopens it.
        const Database* before = catalogue.get();
        QVERIFY(StoreReload::reopenIfReplaced(catalogue));
        QVERIFY(catalogue.get() != before);
        QCOMPARE(catalogue->access(), Database::Access::ReadOnly);
        QCOMPARE(catalogue->path(), install.location.folder.catalogue());
        QCOMPARE(search(*catalogue), newParts);
        QVERIFY(!StoreReload::fileReplaced(*catalogue));
        QVERIFY(!StoreReload::reopenIfReplaced(catalogue));

        // The user's prices and orders are untouched, and so is the rest of the user's folder.
        QCOMPARE(InstallLayout::snapshot(install.layout.userFolder()), userBefore);
        auto user =
            Database::open(install.location.folder.userDatabase(), Database::Access::ReadOnly);
        QCOMPARE(user->openRecordset(QStringLiteral("SELECT * FROM customParts")).recordCount(), 1);
    }

    void replacementThatCantBeOpenedKeepsTheOldOne_data() {
        QTest::addColumn<QByteArray>("replacement"); // empty: the file is removed
        QTest::newRow("removed") << QByteArray();
        QTest::newRow("not a store") << QByteArray("half a catalogue, copied by hand");
    }

    void replacementThatCantBeOpenedKeepsTheOldOne() {
        QFETCH(QByteArray, replacement);
        RunningInstall install;
        auto catalogue =
            Database::open(install.location.folder.catalogue(), Database::Access::ReadOnly);
        const QString target = install.installedCatalogue();
        if (replacement.isEmpty()) {
            QVERIFY(QFile::remove(target));
        } else {
            const QString built = target + QStringLiteral(".new");
            QFile file(built);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(replacement);
            file.close();
            QVERIFY(std::rename(QFile::encodeName(built).constData(),
                                QFile::encodeName(target).constData()) == 0);
        }
        QVERIFY(StoreReload::fileReplaced(*catalogue));
        const Database* before = catalogue.get();
        QVERIFY(!StoreReload::reopenIfReplaced(catalogue));
        QCOMPARE(catalogue.get(), before);
        QCOMPARE(search(*catalogue), oldParts);
    }

    void closedOrMissingStoreIsLeftAlone() {
        RunningInstall install;
        std::unique_ptr<Database> none;
        QVERIFY(!StoreReload::reopenIfReplaced(none));
        auto catalogue =
            Database::open(install.location.folder.catalogue(), Database::Access::ReadOnly);
        catalogue->close();
        InstallLayout::importCatalogue(install.installedCatalogue(), newParts);
        QVERIFY(!StoreReload::fileReplaced(*catalogue));
    }

    // The person updating the catalogue may have a strict umask; the users must still be able to
    // read the new file.
    void updateKeepsTheCatalogueReadableByItsUsers() {
        RunningInstall install;
        const QString target = install.installedCatalogue();
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner |
                                                  QFile::ReadGroup | QFile::ReadOther));
        const mode_t saved = ::umask(077);
        InstallLayout::importCatalogue(target, newParts);
        ::umask(saved);
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(target).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0644));
    }
};

QUILLON_TEST_CLASS(CatalogueUpdateTest)

#include "test_catalogue_update.moc"
