#pragma once

#include "platform/dialogs.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace quillon {

// The dialogs of the tests. Records every box, input box, beep and window, and answers from a
// script; never blocks.
//  - A Yes/No box takes the next answer from answerNext(), or presses its default button when
//    answerNextWithEnter() scripted the Enter key. With none scripted it records an
//    "unexpected box" error and answers No. An OK box always answers Ok and takes no answer.
//  - An input box takes the next text from answerNextInput() ("" stands for Cancel). With none
//    scripted it records an error and answers "" (Cancel).
//  - A box that offers Save as PDF takes the next answer from answerNext() (Ok or SavePdf); with
//    none scripted it records an error and answers Ok.
//  - A save dialog takes the next path from answerNextSaveFile() ("" stands for Cancel); with
//    none scripted it records an error and answers "" (Cancel).
//  - showModal() shows the window (not modally), runs the script registered for its objectName,
//    or else for its class name (with or without namespace), and returns the window's result.
//    A window that the script leaves open is recorded as an error and closed; a window without a
//    script is recorded and closed as if by its window frame.
class ScriptedDialogs final : public Dialogs {
public:
    struct Box {
        QString title; // as shown: the application title when none was given
        QString prompt;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        Button defaultButton = Button::Ok; // the button Enter presses
        Button answer = Button::Ok;
    };
    struct SaveQuestion {
        QString title;
        QString suggestedPath;
        QString filter;
        QString answer;
    };
    struct Input {
        QString title;
        QString prompt;
        QString defaultText;
        QString answer;
    };
    using WindowScript = std::function<void(QDialog&)>;

    // --- the script
    void answerNext(Button answer) { answers_.append(answer); }
    // The next Yes/No box is answered with the Enter key: its default button.
    void answerNextWithEnter() { answers_.append(std::nullopt); }
    void answerNextInput(const QString& text) { inputAnswers_.append(text); }
    void answerNextSaveFile(const QString& path) { saveAnswers_.append(path); }
    // Registers (or replaces) the script for every window of that objectName or class name.
    void onWindow(const QString& objectNameOrClass, WindowScript script);
    void removeWindowScript(const QString& objectNameOrClass);
    qsizetype pendingAnswers() const {
        return answers_.size() + inputAnswers_.size() + saveAnswers_.size();
    }

    // --- what happened
    const QList<Box>& boxes() const { return boxes_; }
    const QList<Input>& inputs() const { return inputs_; }
    const QList<SaveQuestion>& saveQuestions() const { return saveQuestions_; }
    int beeps() const { return beeps_; }
    // objectName (or class name when it has none) of each window shown, in order.
    const QStringList& shownWindows() const { return shownWindows_; }
    // Boxes nobody scripted an answer for, windows left open by their script.
    const QStringList& errors() const { return errors_; }
    // Forgets what happened (the script stays).
    void clearRecords();

    // --- Dialogs
    Button messageBox(const QString& prompt, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                      const QString& title = {}, Button defaultButton = Button::Yes) override;
    QString inputBox(const QString& prompt, const QString& title = {},
                     const QString& defaultText = {}) override;
    QString saveFileName(const QString& title, const QString& suggestedPath,
                         const QString& filter) override;
    void beep() override { ++beeps_; }
    int showModal(QDialog& window) override;

private:
    QList<std::optional<Button>> answers_; // no button: Enter
    QStringList inputAnswers_;
    QStringList saveAnswers_;
    QList<SaveQuestion> saveQuestions_;
    QHash<QString, WindowScript> windowScripts_;
    QList<Box> boxes_;
    QList<Input> inputs_;
    int beeps_ = 0;
    QStringList shownWindows_;
    QStringList errors_;
};

} // namespace quillon
