#pragma once

#include <QAccessibleWidget>

namespace quillon {

// What a screen reader hears of a Part Detail value field: its name is the words of its caption
// label ("DV Number"), its value and description the value it shows ("DV100"), read when asked
// so that showing a part costs nothing more.
class ValueFieldAccessible final : public QAccessibleWidget {
public:
    explicit ValueFieldAccessible(QWidget* field);

    [[nodiscard]] QString text(QAccessible::Text kind) const override;

    // Makes every value field answer through this interface; once per program.
    static void install();
};

} // namespace quillon
