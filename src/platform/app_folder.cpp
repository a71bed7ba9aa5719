#include "platform/app_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <stdexcept>

namespace quillon {

AppFolder::AppFolder(const QString& path) : path_(QDir::cleanPath(QDir(path).absolutePath())) {}

QString AppFolder::file(const QString& name) const {
    return path_ + QLatin1Char('/') + name;
}

QString AppFolder::image(const QString& name) const {
    return images() + QLatin1Char('/') + name;
}

QString AppFolder::usage() {
    return QStringLiteral("usage: dorvane-quillon [--app-folder DIR]\n"
                          "       dorvane-quillon --help | --version");
}

QString AppFolder::help() {
    return usage() +
           QStringLiteral("\n\n"
                          "Dorvane Quillon: the Dorvane parts catalogue and order writer.\n\n"
                          "  --app-folder DIR  use DIR as the Application folder (the catalogue, "
                          "your\n"
                          "                    orders, prices and addresses, the order form)\n"
                          "  --help            show this text and end\n"
                          "  --version         show the version and end");
}

AppFolder::Question AppFolder::question(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == u"--app-folder")
            ++i; // its folder may have any name
        else if (argument == u"--help" || argument == u"-h")
            return Question::Help;
        else if (argument == u"--version")
            return Question::Version;
    }
    return Question::None;
}

AppFolder AppFolder::fromArguments(const QStringList& arguments) {
    return AppFolder(givenFolder(arguments).value_or(QCoreApplication::applicationDirPath()));
}

std::optional<QString> AppFolder::givenFolder(const QStringList& arguments) {
    const QString option = QStringLiteral("--app-folder");
    QString folder;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == option) {
            if (i + 1 >= arguments.size() || arguments.at(i + 1).isEmpty())
                throw std::invalid_argument("--app-folder needs a folder");
            folder = arguments.at(++i);
        } else if (argument.startsWith(option + QLatin1Char('='))) {
            folder = argument.mid(option.size() + 1);
            if (folder.isEmpty())
                throw std::invalid_argument("--app-folder needs a folder");
        } else {
            throw std::invalid_argument(
                QStringLiteral("unknown argument: %1").arg(argument).toStdString());
        }
    }
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

} // namespace quillon
