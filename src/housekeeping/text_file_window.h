#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;

namespace quillon {

// A small modal window that shows a text file of the Application folder: the program's picture,
// its title, a subtitle, the file's text in a read-only box, and OK. The file is read when the
// window is created, so every opening shows the file as it is then.
class TextFileWindow : public QDialog {
    Q_OBJECT

public:
    // The file's text with every line followed by CR LF, or nothing when the file can't be read
    // (then error says why). Lines may end with CR LF or LF; the text is decoded as UTF-8.
    [[nodiscard]] static std::optional<QString> readLines(const QString& path, QString* error);

    [[nodiscard]] const QString& filePath() const { return filePath_; }
    // The text put into txtDescription.
    [[nodiscard]] const QString& text() const { return text_; }

    void cmdOK_Click();

protected:
    // objectName, caption and subtitle (lblVersion) of the window; filePath: the text to show.
    TextFileWindow(const QString& objectName, const QString& caption, const QString& subtitle,
                   const QString& filePath, QWidget* parent);

    // Where a window adds labels under its title and subtitle.
    [[nodiscard]] QVBoxLayout* headingLayout() const { return heading_; }
    [[nodiscard]] QPlainTextEdit* descriptionBox() const { return txtDescription_; }

private:
    void Form_Load();

    QString filePath_;
    QString text_;
    QVBoxLayout* heading_ = nullptr;
    QLabel* picIcon_ = nullptr;
    QLabel* lblTitle_ = nullptr;
    QLabel* lblVersion_ = nullptr;
    QPlainTextEdit* txtDescription_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
};

} // namespace quillon
