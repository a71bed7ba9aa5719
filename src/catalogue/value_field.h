#pragma once

#include <QLabel>

namespace quillon {

// A value field of Part Detail: a read-only, framed label of one line, sized once for the values
// it is meant to show (`budget` characters) and never narrower than a value it has shown, so
// that no value is cut short. Its size is fixed: showing another part's value doesn't relayout
// the window; only a value wider than every one before widens the field, once. Its text can be
// selected and copied.
class ValueField final : public QLabel {
    Q_OBJECT

public:
    // budget: the characters (of a digit's width) the field has room for from the start.
    explicit ValueField(int budget, QWidget* parent = nullptr);

    // Shows the text, widening the field first when the text needs more room than it has.
    void setValue(const QString& text);

    // The width the field needs to show the text whole: the text's advance plus the frame,
    // margins and indent a label puts beside it.
    [[nodiscard]] int widthFor(const QString& text) const;

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

    static constexpr int leastWidth = 70;

protected:
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Fixes the size for the budget and the text shown (after a change of font or style).
    void fit();

    int budget_;
    int width_ = leastWidth;
};

} // namespace quillon
