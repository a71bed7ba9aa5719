#pragma once

#include <QComboBox>

class QFocusEvent;
class QKeyEvent;

namespace quillon {

// The name list of one side of the Order Address Options window: a drop-down whose text can
// also be typed. Typing never adds a name to the list nor completes it from the list: what is
// typed is what the list's text is.
//
// picked() is raised only for a name picked from the list (from the drop-down, with the arrow
// keys or the mouse wheel). A typed text that happens to equal a name is no pick: the combo box
// reports one when the typing ends (focus leaving, Enter), and that report is held back.
class AddressNameList final : public QComboBox {
    Q_OBJECT

public:
    explicit AddressNameList(QWidget* parent = nullptr);

signals:
    void picked();

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool typingEnds_ = false;
};

} // namespace quillon
