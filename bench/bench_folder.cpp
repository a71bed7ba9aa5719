#include "bench_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

using namespace Qt::StringLiterals;

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
    : dir_(QDir(workDir).filePath(u"app-XXXXXX"_s)) {
    if (!dir_.isValid())
        throw std::runtime_error("can't make an Application folder under " + workDir.toStdString());
    const QDir source(appTemplate);
    const QDir target(dir_.path());
    // What ships, but the catalogue, the stores of a run and the program itself.
    const QStringList skipped = {u"parts.mdb"_s, u"user.mdb"_s, u"userdatabackup.mdb"_s,
                                 u"printOrder.html"_s, u"dorvane-quillon"_s};
    for (const QFileInfo& file : source.entryInfoList(QDir::Files)) {
        if (skipped.contains(file.fileName()))
            continue;
        if (!QFile::copy(file.absoluteFilePath(), target.filePath(file.fileName())))
            throw std::runtime_error("can't copy " + file.absoluteFilePath().toStdString());
    }
    const QDir scale(scaleDir);
    if (!QFile::link(scale.absoluteFilePath(u"parts.mdb"_s), target.filePath(u"parts.mdb"_s)))
        throw std::runtime_error("can't link the catalogue of " + scaleDir.toStdString());
    target.mkdir(u"images"_s);
    const QDir images(target.filePath(u"images"_s));
    linkFiles(QDir(scale.filePath(u"images"_s)), images);
    linkFiles(QDir(source.filePath(u"images"_s)), images);
    const QString user = target.filePath(u"user.mdb"_s);
    if (!QFile::copy(target.filePath(u"systemuserDB.dat"_s), user))
        throw std::runtime_error("can't make the User database");
    QFile::setPermissions(user, QFile::permissions(user) | QFileDevice::WriteOwner);
}

} // namespace quillon::bench
