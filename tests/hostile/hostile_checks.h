#pragma once

#include "catalogue_fixture.h"

#include <QByteArray>
#include <QString>

class QLineEdit;

namespace quillon {
class ScriptedDialogs;
}

namespace quillon::tests {

// Puts the text into a box as the user does: short plain ASCII is typed key by key, anything
// else (longer texts, letters the test keyboard lacks, control characters) is pasted over what
// the box held. Both raise textEdited and textChanged, as typing does.
void enterText(QLineEdit* box, const QString& text);

// The error boxes of the handler guard ("Could not ...") and the boxes nobody scripted, joined;
// empty when there were none.
[[nodiscard]] QString engineErrors(const ScriptedDialogs& dialogs);

// The file's content digest (empty when it can't be read).
[[nodiscard]] QByteArray fileDigest(const QString& path);

// The parts of the hostile tests' catalogue: numbers, descriptions and a vehicle with quotes,
// backslashes, wildcards, accents, CJK, emoji and Hebrew in them.
[[nodiscard]] QList<Part> hostileCatalogue();

// A text short enough for a test message.
[[nodiscard]] QString shown(const QString& text);

} // namespace quillon::tests
