#include "bench_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace quillon::bench {

namespace {

void linkFiles(const QDir& from, const QDir& to) {
    for (const QFileInfo& file : from.entryInfoList(QDir::Files)) {
        const QString target = to.filePath(file.fileName());
        if (!QFileInfo::exists(target) && !QFile::link(file.absoluteFilePath(), target))
            throw std::runtime_error("can't link " + file.absoluteFilePath().toStdString());
    }
}

} // namespace

BenchFolder::BenchFolder(const QString& workDir, const QString& appTemplate,
                         const QString& scaleDir)
    : dir_(QDir(workDir).filePath(QStringLiteral("app-XXXXXX"))) {
    if (!dir_.isValid())
        throw std::runtime_error("can't make an Application folder under " + workDir.toStdString());
    const QDir source(appTemplate);
    const QDir target(dir_.path());
    // What ships, but the catalogue, the stores of a run and the program itself.
    const QStringList skipped = {QStringLiteral("parts.mdb"), QStringLiteral("user.mdb"),
                                 QStringLiteral("userdatabackup.mdb"),
                                 QStringLiteral("printOrder.html"),
                                 QStringLiteral("dorvane-quillon")};
    for (const QFileInfo& file : source.entryInfoList(QDir::Files)) {
        if (skipped.contains(file.fileName()))
            continue;
        if (!QFile::copy(file.absoluteFilePath(), target.filePath(file.fileName())))
            throw std::runtime_error("can't copy " + file.absoluteFilePath().toStdString());
    }
    const QDir scale(scaleDir);
    if (!QFile::link(scale.absoluteFilePath(QStringLiteral("parts.mdb")),
                     target.filePath(QStringLiteral("parts.mdb"))))
        throw std::runtime_error("can't link the catalogue of " + scaleDir.toStdString());
    target.mkdir(QStringLiteral("images"));
    const QDir images(target.filePath(QStringLiteral("images")));
    linkFiles(QDir(scale.filePath(QStringLiteral("images"))), images);
    linkFiles(QDir(source.filePath(QStringLiteral("images"))), images);
    const QString user = target.filePath(QStringLiteral("user.mdb"));
    if (!QFile::copy(target.filePath(QStringLiteral("systemuserDB.dat")), user))
        throw std::runtime_error("can't make the User database");
    QFile::setPermissions(user, QFile::permissions(user) | QFileDevice::WriteOwner);
}

} // namespace quillon::bench
