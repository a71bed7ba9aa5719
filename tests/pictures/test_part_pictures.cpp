#include "catalogue/part_pictures.h"
#include "platform/app_folder.h"
#include "platform/image_box.h"
#include "program_run.h"
#include "recording_browser.h"
#include "scripted_dialogs.h"
#include "session/program_state.h"
#include "store/database.h"
#include "test_app_folder.h"
#include "test_registry.h"

#include <QDialog>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using quillon::AppFolder;
using quillon::Browser;
using quillon::Database;
using quillon::Dialogs;
using quillon::ImageBox;
using quillon::PartPictures;
using quillon::ProgramState;
using quillon::RecordingBrowser;
using quillon::ScriptedDialogs;
using quillon::tests::ProgramRun;
using quillon::tests::TestAppFolder;

namespace {

// What a thumbnail click works with: the program state, the scripted dialogs, a recording
// browser and the Application folder.
struct Clicks {
    explicit Clicks(const QString& path)
        : folder(path), pictures(state, dialogs, browser, folder, nullptr) {}
    ProgramState state;
    ScriptedDialogs dialogs;
    RecordingBrowser browser;
    const AppFolder folder;
    PartPictures pictures;
};

class PartPicturesTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    const QSize largeSize{6000, 5500};

    // The part shown has these pictures in slots 1, 2, ...; each kind is the name's last three
    // characters, as Part Detail records it.
    static void showPart(ProgramState& state, const QStringList& files) {
        for (int k = 0; k < ProgramState::pictureSlots; ++k) {
            const QString file = k < files.size() ? files.at(k) : QString();
            state.pictureFiles[static_cast<std::size_t>(k)] = file;
            state.pictureKinds[static_cast<std::size_t>(k)] = file.right(3);
        }
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY(QDir(dir_.path()).mkdir("images"));
        QImage photo(largeSize, QImage::Format_RGB32);
        photo.fill(Qt::blue);
        QVERIFY(photo.save(dir_.filePath("images/large.jpg"), "jpeg"));
    }

    // A large photograph: its thumbnail is read at the size it shows at, a click opens the
    // picture window on the whole picture, or says that it is too large for the reader's limit.
    void largePhotograph_data() {
        QTest::addColumn<int>("limitMegabytes");
        QTest::newRow("within the reader's limit") << QImageReader::allocationLimit();
        QTest::newRow("over the reader's limit") << 64;
    }

    void largePhotograph() {
        QFETCH(int, limitMegabytes);
        const int limitBefore = QImageReader::allocationLimit();
        const auto restore = qScopeGuard([=] { QImageReader::setAllocationLimit(limitBefore); });
        QImageReader::setAllocationLimit(limitMegabytes);
        TestAppFolder app;
        QVERIFY(QDir().mkpath(app.folder.images()));
        QVERIFY(QFile::copy(dir_.filePath("images/large.jpg"), app.folder.image("large.jpg")));
        Database::open(app.folder.catalogue(), Database::Access::ReadWrite)
            ->execute("INSERT INTO Parts(ID,DorvaneNum,Picture1) SELECT 1,'LG100','large.jpg'");
        ProgramRun run;
        QVERIFY(run.startShown(app.folder));
        run.find<QLineEdit>("txtPart")->setText("LG100");
        QTest::mouseClick(run.find<QPushButton>("cmdSearchPart"), Qt::LeftButton);

        auto* thumbnail = run.find<ImageBox>("Image1");
        QVERIFY(thumbnail->isVisible());
        QCOMPARE(thumbnail->picture().size(),
                 largeSize.scaled(thumbnail->contentsRect().size(), Qt::KeepAspectRatio));
        QSize shown;
        run.dialogs.onWindow("frmImageView", [&shown](QDialog& window) {
            shown = window.findChild<QLabel*>("Picture1")->pixmap().size();
        });
        run.dialogs.clearRecords();
        QTest::mouseClick(thumbnail, Qt::LeftButton);
        if (limitMegabytes == limitBefore) {
            QCOMPARE(shown, largeSize);
            QCOMPARE(run.state.viewPictureFile, "large.jpg");
            QVERIFY(run.dialogs.boxes().isEmpty());
        } else {
            QVERIFY(run.dialogs.shownWindows().isEmpty());
            QCOMPARE(run.dialogs.boxes().size(), 1);
            QVERIFY2(run.dialogs.boxes()[0].prompt.contains("too large"),
                     qPrintable(run.dialogs.boxes()[0].prompt));
        }
    }

    // Only "jpg", "htm" and "tml" open anything; the comparison is exact. Each click on a page
    // opens a further browser window, without its bars.
    void pagesAndOtherKinds_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("page");
        QTest::newRow("htm") << "fitting.htm" << true;
        QTest::newRow("html") << "exploded-view.html" << true;
        QTest::newRow("capital JPG") << "front.JPG" << false;
        QTest::newRow("gif") << "front.gif" << false;
        QTest::newRow("pdf") << "leaflet.pdf" << false;
        QTest::newRow("empty slot") << "" << false;
    }

    void pagesAndOtherKinds() {
        QFETCH(QString, file);
        QFETCH(bool, page);
        Clicks clicks(dir_.path());
        auto& [state, dialogs, browser, folder, pictures] = clicks;
        showPart(state, {file});

        for (int slot : {1, 1, 0, 10})
            pictures.openPicture(slot);

        QCOMPARE(browser.requests().size(), page ? 2 : 0);
        for (const auto& request : browser.requests()) {
            QCOMPARE(request.path, folder.path() + "/images/" + file);
            QCOMPARE(request.bars, Browser::Bars::Hidden);
        }
        QVERIFY(dialogs.shownWindows().isEmpty());
        QVERIFY(dialogs.boxes().isEmpty());
        QVERIFY(state.viewPictureFile.isEmpty());
    }

    // A photograph that has gone since its thumbnail was shown, and a browser that can't start:
    // a message says what could not be shown, instead of an empty window or nothing at all.
    void failuresAreReported() {
        Clicks clicks(dir_.path());
        auto& [state, dialogs, browser, folder, pictures] = clicks;
        browser.setAvailable(false);
        showPart(state, {"gone.jpg", "page.htm"});

        pictures.openPicture(1);
        pictures.openPicture(2);

        QVERIFY(dialogs.shownWindows().isEmpty());
        QCOMPARE(dialogs.boxes().size(), 2);
        QVERIFY(dialogs.boxes().at(0).prompt.contains(
            QDir::toNativeSeparators(folder.path() + "/images/gone.jpg")));
        QVERIFY(dialogs.boxes().at(1).prompt.contains(
            QDir::toNativeSeparators(folder.path() + "/images/page.htm")));
        for (const auto& box : dialogs.boxes()) {
            QCOMPARE(box.icon, Dialogs::Icon::Exclamation);
            QCOMPARE(box.buttons, Dialogs::Buttons::Ok);
            QCOMPARE(box.title, "Dorvane Quillon");
        }
    }
};

} // namespace

QUILLON_TEST_CLASS(PartPicturesTest)

#include "test_part_pictures.moc"
