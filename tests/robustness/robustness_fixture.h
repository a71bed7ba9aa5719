#pragma once

#include "program_run.h"
#include "test_app_folder.h"

#include <QByteArray>

namespace quillon::tests {

// A fresh Application folder with, on request, a user.mdb holding one open order with a line.
class AppFolderFixture : public TestAppFolder {
public:
    // Writes user.mdb with one open order (OrderNum 1, dated 01/02/2025) and one line.
    void makeUserDatabase() const;

    static void writeFile(const QString& path, const QByteArray& content);
    static QByteArray readFile(const QString& path);
};

} // namespace quillon::tests
