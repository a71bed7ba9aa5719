#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace quillon {

// The Application folder and the name of every file in it. Everything the program reads and
// writes lies here.
class AppFolder {
public:
    // An absolute, clean path is kept.
    explicit AppFolder(const QString& path);

    // The folder given by "--app-folder DIR" (or "--app-folder=DIR") among the program's
    // arguments (the first argument being the program itself), else the folder that holds the
    // running program. Throws std::invalid_argument, with a message for the user, on an argument
    // it doesn't know or a "--app-folder" without a folder.
    static AppFolder fromArguments(const QStringList& arguments);
    // The folder given by "--app-folder DIR" among the arguments, if any; throws as
    // fromArguments does.
    static std::optional<QString> givenFolder(const QStringList& arguments);
    static QString usage();
    // The text of "--help": the usage and what each option does.
    static QString help();

    // Whether the arguments ask for "--help" (or "-h") or "--version" rather than a run.
    enum class Question { None, Help, Version };
    static Question question(const QStringList& arguments);

    const QString& path() const { return path_; }
    // A file of the folder by name.
    QString file(const QString& name) const;

    QString catalogue() const { return file(QStringLiteral("parts.mdb")); }
    QString userDatabase() const { return file(QStringLiteral("user.mdb")); }
    QString userTemplate() const { return file(QStringLiteral("systemuserDB.dat")); }
    QString userBackup() const { return file(QStringLiteral("userdatabackup.mdb")); }
    QString printOrder() const { return file(QStringLiteral("printOrder.html")); }
    QString orderHeader() const { return file(QStringLiteral("orderHeader.dat")); }
    QString orderMidA() const { return file(QStringLiteral("orderMidA.dat")); }
    QString orderFooter() const { return file(QStringLiteral("orderFooter.dat")); }
    QString blackPixel() const { return file(QStringLiteral("1pixel-black.gif")); }
    QString imageIcon() const { return file(QStringLiteral("image-icon.bmp")); }
    QString images() const { return file(QStringLiteral("images")); }
    // A picture or picture page of the images folder, by its file name.
    QString image(const QString& name) const;
    QString htmlIcon() const { return image(QStringLiteral("htmlIcon.jpg")); }
    QString aboutText() const { return file(QStringLiteral("about.dat")); }
    QString helpText() const { return file(QStringLiteral("help.dat")); }

private:
    QString path_;
};

} // namespace quillon
