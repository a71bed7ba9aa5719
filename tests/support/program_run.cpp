#include "program_run.h"

#include "app/start_up.h"

#include <QApplication>
#include <QTest>

namespace quillon::tests {

bool ProgramRun::start(const AppFolder& folder) {
    window = StartUp::start(state, dialogs, browser, folder, {}, &handedOver);
    return window != nullptr;
}

bool ProgramRun::startShown(const AppFolder& folder) {
    if (!start(folder))
        return false;
    window->show();
    QApplication::setActiveWindow(window.get());
    return QTest::qWaitForWindowActive(window.get());
}

QString ProgramRun::onlyPrompt() const {
    if (dialogs.boxes().size() != 1)
        return QStringLiteral("%1 boxes").arg(dialogs.boxes().size());
    return dialogs.boxes().first().prompt;
}

bool ProgramRun::refused() const {
    if (state.userDb || state.catalogueDb || dialogs.boxes().size() != 1)
        return false;
    const auto& box = dialogs.boxes().first();
    return box.title == StartUp::failureTitle() && box.icon == Dialogs::Icon::Exclamation;
}

} // namespace quillon::tests
