#include "scripted_dialogs.h"

#include <QDialog>

namespace quillon {

namespace {

QString titleOrDefault(const QString& title) {
    return title.isEmpty() ? Dialogs::applicationTitle() : title;
}

QString shortClassName(const QString& className) {
    const qsizetype colons = className.lastIndexOf(QLatin1String("::"));
    return colons < 0 ? className : className.mid(colons + 2);
}

} // namespace

void ScriptedDialogs::onWindow(const QString& objectNameOrClass, WindowScript script) {
    windowScripts_.insert(objectNameOrClass, std::move(script));
}

void ScriptedDialogs::removeWindowScript(const QString& objectNameOrClass) {
    windowScripts_.remove(objectNameOrClass);
}

void ScriptedDialogs::clearRecords() {
    boxes_.clear();
    inputs_.clear();
    saveQuestions_.clear();
    beeps_ = 0;
    shownWindows_.clear();
    errors_.clear();
}

Dialogs::Button ScriptedDialogs::messageBox(const QString& prompt, Buttons buttons, Icon icon,
                                            const QString& title, Button defaultButton) {
    Box box{titleOrDefault(title), prompt, icon, buttons, Button::Ok, Button::Ok};
    if (buttons != Buttons::Ok) {
        const bool yesNo = buttons == Buttons::YesNo;
        box.defaultButton = !yesNo                        ? Button::SavePdf
                            : defaultButton == Button::No ? Button::No
                                                          : Button::Yes;
        box.answer = yesNo ? Button::No : Button::Ok; // unless a fitting answer is scripted
        if (answers_.isEmpty()) {
            errors_.append(QStringLiteral("unexpected box \"%1\": %2").arg(box.title, prompt));
        } else if (const Button answer = answers_.takeFirst().value_or(box.defaultButton);
                   yesNo == (answer == Button::Yes || answer == Button::No)) {
            box.answer = answer;
        } else {
            errors_.append(
                QStringLiteral("an answer of another box scripted for \"%1\"").arg(box.title));
        }
    }
    boxes_.append(box);
    return box.answer;
}

QString ScriptedDialogs::inputBox(const QString& prompt, const QString& title,
                                  const QString& defaultText) {
    Input input{titleOrDefault(title), prompt, defaultText, QString()};
    if (inputAnswers_.isEmpty())
        errors_.append(QStringLiteral("unexpected input box \"%1\": %2").arg(input.title, prompt));
    else
        input.answer = inputAnswers_.takeFirst();
    inputs_.append(input);
    return input.answer;
}

QString ScriptedDialogs::saveFileName(const QString& title, const QString& suggestedPath,
                                      const QString& filter) {
    SaveQuestion question{titleOrDefault(title), suggestedPath, filter, QString()};
    if (saveAnswers_.isEmpty())
        errors_.append(QStringLiteral("unexpected save dialog \"%1\"").arg(question.title));
    else
        question.answer = saveAnswers_.takeFirst();
    saveQuestions_.append(question);
    return question.answer;
}

int ScriptedDialogs::showModal(QDialog& window) {
    const QString className = QString::fromLatin1(window.metaObject()->className());
    const QString name = window.objectName().isEmpty() ? className : window.objectName();
    shownWindows_.append(name);

    WindowScript script;
    for (const QString& key : {window.objectName(), className, shortClassName(className)}) {
        if (!key.isEmpty() && windowScripts_.contains(key)) {
            script = windowScripts_.value(key);
            break;
        }
    }

    window.setResult(QDialog::Rejected);
    window.show();
    if (script) {
        script(window);
        if (window.isVisible()) {
            errors_.append(QStringLiteral("window %1 left open by its script").arg(name));
            window.close();
        }
    } else {
        window.close();
    }
    if (window.isVisible())
        window.hide();
    return window.result();
}

} // namespace quillon
