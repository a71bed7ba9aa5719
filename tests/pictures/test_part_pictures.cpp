#include "app/program_state.h"
#include "catalogue/part_pictures.h"
#include "catalogue/picture_window.h"
#include "platform/app_folder.h"
#include "platform/recording_browser.h"
#include "platform/scripted_dialogs.h"
#include "test_registry.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QObject>
#include <QTemporaryDir>
#include <QTest>

using quillon::AppFolder;
using quillon::Browser;
using quillon::Dialogs;
using quillon::PartPictures;
using quillon::PictureWindow;
using quillon::ProgramState;
using quillon::RecordingBrowser;
using quillon::ScriptedDialogs;

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
        QImage photo(60, 40, QImage::Format_RGB32);
        photo.fill(Qt::blue);
        QVERIFY(photo.save(dir_.filePath("images/front.jpg"), "jpeg"));
        QVERIFY(photo.save(dir_.filePath("images/side.jpg"), "jpeg"));
    }

    void photographOpensThePictureWindow() {
        Clicks clicks(dir_.path());
        auto& [state, dialogs, browser, folder, pictures] = clicks;
        showPart(state, {"front.jpg", "side.jpg"});

        QStringList shownPaths;
        dialogs.onWindow("frmImageView", [&shownPaths](QDialog& window) {
            auto& pictureWindow = dynamic_cast<PictureWindow&>(window);
            QVERIFY(pictureWindow.hasPicture());
            shownPaths << pictureWindow.picturePath();
            QTest::mouseClick(window.findChild<QLabel*>("Picture1"), Qt::LeftButton);
        });
        pictures.openPicture(2);
        pictures.openPicture(1);

        QCOMPARE(dialogs.shownWindows(), QStringList({"frmImageView", "frmImageView"}));
        QCOMPARE(shownPaths, QStringList({folder.path() + "/images/side.jpg",
                                          folder.path() + "/images/front.jpg"}));
        QCOMPARE(state.viewPictureFile, "front.jpg");
        QVERIFY(dialogs.errors().isEmpty());
        QVERIFY(dialogs.boxes().isEmpty());
        QVERIFY(browser.requests().isEmpty());
    }

    void pageOpensInTheBrowser_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("htm") << "fitting.htm";
        QTest::newRow("html") << "exploded-view.html";
    }

    void pageOpensInTheBrowser() {
        QFETCH(QString, file);
        Clicks clicks(dir_.path());
        auto& [state, dialogs, browser, folder, pictures] = clicks;
        showPart(state, {"front.jpg", file});

        pictures.openPicture(2);
        pictures.openPicture(2);

        QCOMPARE(browser.requests().size(), 2);
        for (const auto& request : browser.requests()) {
            QCOMPARE(request.path, folder.path() + "/images/" + file);
            QCOMPARE(request.bars, Browser::Bars::Hidden);
        }
        QVERIFY(dialogs.shownWindows().isEmpty());
        QVERIFY(dialogs.boxes().isEmpty());
    }

    // Only "jpg", "htm" and "tml" open anything; the comparison is exact.
    void otherKindsDoNothing_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("capital JPG") << "front.JPG";
        QTest::newRow("gif") << "front.gif";
        QTest::newRow("pdf") << "leaflet.pdf";
        QTest::newRow("empty slot") << "";
    }

    void otherKindsDoNothing() {
        QFETCH(QString, file);
        Clicks clicks(dir_.path());
        auto& [state, dialogs, browser, folder, pictures] = clicks;
        showPart(state, {file});

        pictures.openPicture(1);
        pictures.openPicture(0);
        pictures.openPicture(10);

        QVERIFY(dialogs.shownWindows().isEmpty());
        QVERIFY(dialogs.boxes().isEmpty());
        QVERIFY(browser.requests().isEmpty());
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
