// Runs every test class of the part pictures and the picture window.
#include "pictures_tests.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failures = 0;
    failures += runPictureWindowGeometryTests(argc, argv);
    failures += runPictureWindowTests(argc, argv);
    failures += runPartPicturesTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
