#pragma once

// What the robustness tests share: the folder and the program as a test arranges them, the hostile
// texts, and what the program showed and stored.
#include "platform/app_folder.h"
#include "platform/instance_lock.h"
#include "program_driver.h"
#include "store/database.h"
#include "test_app_folder.h"
#include "test_files.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace quillon::tests::robustness {

using quillon::tests::readFile;
using quillon::tests::writeFile;

// Puts what the row names in the folder (see whatStandsInTheFolder).
void arrange(const TestAppFolder& fx, const QString& how, std::optional<InstanceLock>& lock,
             std::unique_ptr<Database>& other);

// A text for a box, with what the box does with it: "" stored as typed, "=X" stored as X,
// "!words" refused with a box that says the words, nothing stored.
struct Hostile {
    QString text;
    QString outcome;
};

// Quotes, backslashes, wildcards, SQL, other scripts, emoji, direction marks, control characters,
// blanks, amounts and 10,000-character texts; and random texts of the same kinds of characters,
// the same at every run. A free-text box stores each as typed; the outcomes in a price box
// (United Kingdom settings), the quantity and an address's new name are written beside the text.
QList<Hostile> hostileTexts(const QString& box);
// The error boxes of the handler guard and the boxes nobody scripted.
QString engineErrors(const ScriptedDialogs& dialogs);
// The boxes shown that ask nothing (only the exclamation ones, when errors).
QString prompts(const ScriptedDialogs& dialogs, bool errors);
void click(QWidget& root, const QString& name);
// The shipped files, a catalogue whose numbers and descriptions hold quotes, backslashes,
// wildcards and other scripts, an order and a delivery address; the program started on it, with
// an open order of two lines when asked.
void start(ProgramDriver& p, bool withAnOrder = false);
// Every row of the User database, or of another copy of it (a backup).
QStringList userRows(const ProgramDriver& p, const QString& store = {});
// Finalise Order (Yes, the addresses chosen) or Backup; whileWriting() runs between the choice
// of the addresses and the writing of the form.
void command(ProgramDriver& p, bool backup, const std::function<void()>& whileWriting = {});

} // namespace quillon::tests::robustness
