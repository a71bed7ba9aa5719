#pragma once

#include <QLabel>

namespace quillon {

// A value field of Part Detail: a read-only, framed label of one line that the layout never makes
// narrower than the value it shows (a number, a price, a brand) nor than a least width, so that no
// value is cut short.
class ValueField final : public QLabel {
    Q_OBJECT

public:
    explicit ValueField(QWidget* parent = nullptr);

    [[nodiscard]] QSize minimumSizeHint() const override;

    static constexpr int leastWidth = 70;
};

} // namespace quillon
