#pragma once

#include <QLabel>

namespace quillon {

// A value field of Part Detail: a read-only, framed label of one line that the layout never makes
// narrower than the value it shows (a number, a price, a brand) nor than a least width, so that no
// value is cut short. Its text can be selected and copied.
class ValueField final : public QLabel {
    Q_OBJECT

public:
    explicit ValueField(QWidget* parent = nullptr);

    // The size of the one line from the font's metrics. A selectable label would lay its text
    // out as a document for each hint, and every part shown changes every field's text.
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

    static constexpr int leastWidth = 70;

protected:
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The label's own hint height for one line, and the margins it was had with; -1: not known.
    mutable int height_ = -1;
    mutable QMargins heightMargins_;
};

} // namespace quillon
