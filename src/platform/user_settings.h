#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

namespace quillon {

// What the program remembers for the user between runs (the window, the splitter, the column
// widths, the folder an order was last saved to): one settings file in the user's configuration
// folder, $XDG_CONFIG_HOME/dorvane-quillon/dorvane-quillon.conf (~/.config when that is unset).
// The file is read whole when the object is made and written whole by save(), through a
// temporary file and a rename. A file that is damaged, too large or another program's is
// ignored with one line on standard error and replaced at the next save; never fatal.
class UserSettings final {
public:
    // The settings file of the user running the program.
    [[nodiscard]] static QString defaultPath();

    explicit UserSettings(const QString& path = defaultPath());

    // The value stored under key (group/name), or fallback when there is none.
    [[nodiscard]] QVariant value(const QString& key, const QVariant& fallback = {}) const;
    void setValue(const QString& key, const QVariant& value);
    void remove(const QString& key);

    // Writes every value to the file (its folder made private when missing); empty when done,
    // else why not.
    [[nodiscard]] QString save() const;

    [[nodiscard]] const QString& path() const { return path_; }

private:
    void load();

    QString path_;
    QVariantMap values_;
};

} // namespace quillon
