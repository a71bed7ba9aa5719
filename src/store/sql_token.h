#pragma once

#include <QString>
#include <QStringView>

namespace quillon {

// One token of a statement. text is the token as written; value is what it stands for (a
// string literal without its quotes and with '' made ', a quoted name without its brackets).
struct SqlToken {
    enum class Kind {
        Space,        // blanks and comments
        Word,         // a name or keyword
        QuotedName,   // [name] or `name`
        DoubleQuoted, // "text": a string in the stores' dialect
        String,       // 'text'
        Number,
        Symbol, // punctuation and operators
    };

    Kind kind;
    QString text;
    QString value;

    bool isSignificant() const { return kind != Kind::Space; }
    bool isName() const { return kind == Kind::Word || kind == Kind::QuotedName; }
    bool isWord(QStringView word) const {
        return kind == Kind::Word && text.compare(word, Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(QStringView symbol) const { return kind == Kind::Symbol && text == symbol; }
    // The name a Word or QuotedName stands for.
    const QString& name() const { return kind == Kind::QuotedName ? value : text; }
};

} // namespace quillon
