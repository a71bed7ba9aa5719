#include "app/main_status_bar.h"

#include "store/locale_formats.h"

#include <QDate>
#include <QLabel>
#include <QStatusBar>
#include <QTime>
#include <QTimer>

namespace quillon {

MainStatusBar::MainStatusBar(QStatusBar* bar) {
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    const QString toolTips[] = {QStringLiteral("Program Status"), QStringLiteral("Order Status"),
                                QStringLiteral("Time"), QStringLiteral("Date")};
    for (int index = 0; index < 4; ++index) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(index + 1));
        panel->setToolTip(toolTips[index]);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
        panel->setContentsMargins(4, 0, 4, 0);
        panels_[static_cast<std::size_t>(index)] = panel;
    }
    panels_[0]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    panels_[1]->setText(QStringLiteral("ORD"));
    panels_[1]->setAlignment(Qt::AlignCenter);
    panels_[1]->setMinimumWidth(50);
    panels_[1]->setEnabled(false);
    panels_[2]->setAlignment(Qt::AlignCenter);
    panels_[2]->setMinimumWidth(70);
    panels_[3]->setAlignment(Qt::AlignCenter);
    panels_[3]->setMinimumWidth(100);
    orderSummary_ = new QLabel(bar);
    orderSummary_->setObjectName(QStringLiteral("StatusBar1OrderSummary"));
    orderSummary_->setToolTip(QStringLiteral("Open order"));
    orderSummary_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    orderSummary_->setTextFormat(Qt::PlainText);
    orderSummary_->setContentsMargins(4, 0, 4, 0);
    orderSummary_->hide();
    bar->addPermanentWidget(panels_[0], 1);
    bar->addPermanentWidget(orderSummary_);
    for (std::size_t index = 1; index < panels_.size(); ++index)
        bar->addPermanentWidget(panels_[index]);

    updateClock();
    clock_ = new QTimer(bar);
    clock_->setInterval(1000);
    QObject::connect(clock_, &QTimer::timeout, bar, [this] { updateClock(); });
    clock_->start();
}

void MainStatusBar::updateClock() {
    const QLocale locale = LocaleFormats::systemLocale();
    panels_[2]->setText(locale.toString(QTime::currentTime(), QLocale::ShortFormat));
    panels_[3]->setText(LocaleFormats(locale).shortDate(QDate::currentDate()));
}

void MainStatusBar::setStatusText(const QString& text) {
    panels_[0]->setText(text);
}

QString MainStatusBar::statusText() const {
    return panels_[0]->text();
}

void MainStatusBar::setOrderIndicatorEnabled(bool enabled) {
    panels_[1]->setEnabled(enabled);
    if (!enabled)
        setOrderSummary({});
}

bool MainStatusBar::orderIndicatorEnabled() const {
    return panels_[1]->isEnabled();
}

void MainStatusBar::setOrderSummary(const QString& text) {
    orderSummary_->setText(text);
    orderSummary_->setVisible(!text.isEmpty());
}

void MainStatusBar::stopClock() {
    clock_->stop();
}

} // namespace quillon
