#include "app_fixture.h"

namespace quillon::tests {

MainWindow& AppFixture::started() {
    if (!start())
        qFatal("the main window did not start");
    return *window;
}

} // namespace quillon::tests
