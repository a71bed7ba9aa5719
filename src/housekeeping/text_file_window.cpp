#include "housekeeping/text_file_window.h"

#include "platform/keyboard_access.h"
#include "platform/program_icon.h"
#include "store/shown_path.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QVBoxLayout>

namespace quillon {

TextFileWindow::TextFileWindow(const QString& objectName, const QString& caption,
                               const QString& subtitle, const QString& filePath, QWidget* parent)
    : QDialog(parent), filePath_(filePath) {
    setObjectName(objectName);
    setWindowTitle(caption);

    picIcon_ = new QLabel(this);
    picIcon_->setObjectName("picIcon");
    picIcon_->setPixmap(ProgramIcon::badge());
    picIcon_->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    lblTitle_ = new QLabel(QStringLiteral("Dorvane Quillon"), this);
    lblTitle_->setObjectName("lblTitle");
    QFont titleFont = lblTitle_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    lblTitle_->setFont(titleFont);

    lblVersion_ = new QLabel(subtitle, this);
    lblVersion_->setObjectName("lblVersion");

    txtDescription_ = new QPlainTextEdit(this);
    txtDescription_->setObjectName("txtDescription");
    txtDescription_->setReadOnly(true);
    // A vertical scroll bar only: long lines wrap at the box's width.
    txtDescription_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtDescription_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtDescription_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtDescription_->setMinimumSize(420, 240);

    cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
    cmdOK_->setObjectName("cmdOK");
    // Enter presses OK as the default button; Esc closes the dialog as OK does.
    cmdOK_->setDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, &TextFileWindow::cmdOK_Click);

    heading_ = new QVBoxLayout;
    heading_->addWidget(lblTitle_);
    heading_->addWidget(lblVersion_);
    auto* top = new QHBoxLayout;
    top->addWidget(picIcon_);
    top->addLayout(heading_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(txtDescription_, 1);
    layout->addLayout(buttons);

    txtDescription_->setAccessibleName(caption + QStringLiteral(" text"));
    KeyboardAccess::prepare(this);
    Form_Load();
}

void TextFileWindow::Form_Load() {
    QString error;
    if (const std::optional<QString> lines = readLines(filePath_, &error)) {
        text_ = *lines;
    } else {
        text_ = QStringLiteral("The file %1 could not be read: %2\r\n")
                    .arg(shownPath(filePath_), error);
    }
    txtDescription_->setPlainText(text_);
}

void TextFileWindow::cmdOK_Click() {
    accept();
}

std::optional<QString> TextFileWindow::readLines(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    file.close();

    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder(bytes);
    QString text;
    text.reserve(decoded.size() + decoded.size() / 16);
    qsizetype start = 0;
    while (start < decoded.size()) {
        qsizetype end = decoded.indexOf(u'\n', start);
        const qsizetype next = end < 0 ? decoded.size() : end + 1;
        if (end < 0)
            end = decoded.size();
        qsizetype lineEnd = end;
        if (lineEnd > start && decoded.at(lineEnd - 1) == u'\r')
            --lineEnd;
        text += QStringView(decoded).sliced(start, lineEnd - start);
        text += QStringLiteral("\r\n");
        start = next;
    }
    return text;
}

} // namespace quillon
