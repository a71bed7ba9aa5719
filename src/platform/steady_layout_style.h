#pragma once

#include <QProxyStyle>

namespace quillon {

// The application's style for a main window's central widget, with one difference: the window
// lays the widget out in one step. Otherwise every relayout of a QMainWindow (a label's new text
// is enough) makes a zero-length geometry animation as a child of the central widget; a scroll
// area there then raises its scroll bars above that child and repaints them.
class SteadyLayoutStyle final : public QProxyStyle {
public:
    // Over a fresh instance of the application's style.
    SteadyLayoutStyle();

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

} // namespace quillon
