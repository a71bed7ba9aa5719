#pragma once

#include <QString>
#include <QTemporaryDir>

namespace quillon::bench {

// A fresh Application folder under the work folder (on the same disk as the catalogues, not a
// memory file system, so that the user database's syncs cost what they cost): the shipped files
// copied from a laid-out Application folder, the scale catalogue and its pictures linked in, and
// the User database made from the template.
class BenchFolder final {
public:
    BenchFolder(const QString& workDir, const QString& appTemplate, const QString& scaleDir);

    [[nodiscard]] bool isValid() const { return dir_.isValid(); }
    [[nodiscard]] QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

} // namespace quillon::bench
