#include "platform/window_memory.h"

#include "platform/flex_grid.h"
#include "platform/user_settings.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QSplitter>
#include <QStringList>
#include <QWidget>
#include <algorithm>

namespace quillon {

namespace {

const QString geometryKey = QStringLiteral("window/geometry");
const QString maximisedKey = QStringLiteral("window/maximised");
const QString splitterKey = QStringLiteral("window/splitter");
const QString columnsKey = QStringLiteral("results/columnWidths");

// Widths and sizes are kept as plain numbers joined by commas ("412,230").
QString joined(const QList<int>& numbers) {
    QStringList texts;
    for (int number : numbers)
        texts << QString::number(number);
    return texts.join(u',');
}

// The numbers of such a text, each in [least, most]; empty when any isn't.
QList<int> numbers(const QVariant& value, int least, int most) {
    QList<int> result;
    const QStringList texts = value.toString().split(u',');
    for (const QString& text : texts) {
        bool ok = false;
        const int number = text.trimmed().toInt(&ok);
        if (!ok || number < least || number > most)
            return {};
        result << number;
    }
    return result;
}

QScreen* nearestScreen(const QRect& rect) {
    QScreen* nearest = QGuiApplication::primaryScreen();
    qint64 best = -1;
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect shared = screen->availableGeometry().intersected(rect);
        const qint64 area = shared.isEmpty() ? 0 : qint64(shared.width()) * shared.height();
        if (area > best) {
            best = area;
            nearest = screen;
        }
    }
    return nearest;
}

} // namespace

WindowMemory::WindowMemory(QWidget& window, QSplitter& splitter, FlexGrid& grid)
    : window_(window), splitter_(splitter), grid_(grid) {}

void WindowMemory::restore(const UserSettings& settings, QSize preferred) const {
    const QList<int> place = numbers(settings.value(geometryKey), -100000, 100000);
    const QSize least = window_.minimumSizeHint().expandedTo(QSize(200, 150));
    if (place.size() == 4 && place[2] >= least.width() && place[3] >= least.height()) {
        QRect rect(place[0], place[1], place[2], place[3]);
        if (const QScreen* screen = nearestScreen(rect)) {
            // Within the screen: no larger than it, and moved onto it where it lies off it.
            const QRect room = screen->availableGeometry();
            rect.setSize(rect.size().boundedTo(room.size() - frameAllowance).expandedTo(least));
            rect.moveLeft(std::clamp(rect.left(), room.left(),
                                     std::max(room.left(), room.right() + 1 - rect.width())));
            rect.moveTop(std::clamp(rect.top(), room.top(),
                                    std::max(room.top(), room.bottom() + 1 - rect.height())));
        }
        window_.setGeometry(rect); // the inside of the window, as remembered
        if (settings.value(maximisedKey).toString() == QStringLiteral("true"))
            window_.setWindowState(window_.windowState() | Qt::WindowMaximized);
    } else {
        const QScreen* screen = window_.screen();
        const QSize room =
            screen != nullptr ? screen->availableGeometry().size() - frameAllowance : preferred;
        window_.resize(preferred.boundedTo(room).expandedTo(window_.minimumSizeHint()));
        // A first start on a screen smaller than the window likes: all of it.
        if (room.width() < preferred.width() || room.height() < preferred.height())
            window_.setWindowState(window_.windowState() | Qt::WindowMaximized);
    }

    const QList<int> split = numbers(settings.value(splitterKey), 1, 100000);
    if (split.size() == splitter_.count())
        splitter_.setSizes(split);
    else // the list all the height the panes below it can spare
        splitter_.setSizes({100000, 1});
    const QList<int> widths = numbers(settings.value(columnsKey), 0, 100000);
    if (widths.size() == grid_.cols()) {
        for (int column = 0; column < grid_.cols(); ++column)
            grid_.setColWidthTwips(column, widths[column]);
    }
}

void WindowMemory::remember(UserSettings& settings) const {
    const QRect normal =
        window_.normalGeometry().isValid() ? window_.normalGeometry() : window_.geometry();
    settings.setValue(geometryKey,
                      joined({normal.x(), normal.y(), normal.width(), normal.height()}));
    settings.setValue(maximisedKey,
                      window_.isMaximized() ? QStringLiteral("true") : QStringLiteral("false"));
    settings.setValue(splitterKey, joined(splitter_.sizes()));
    QList<int> widths;
    for (int column = 0; column < grid_.cols(); ++column)
        widths << grid_.colLeastTwips(column);
    settings.setValue(columnsKey, joined(widths));
}

} // namespace quillon
