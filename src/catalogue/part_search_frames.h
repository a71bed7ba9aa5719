#pragma once

#include <QStringList>
#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quillon {

struct AppContext;

// The two search frames side by side: "Part Number Search" (framePartSearch) on the left and
// "Part Description Search" (frameDescSearch) on the right, with their controls.
class PartSearchFrames final : public QWidget {
    Q_OBJECT

public:
    explicit PartSearchFrames(AppContext& context, QWidget* parent = nullptr);

    // The vehicle list's entries, in order; the first, "- any -", means no vehicle filter.
    static const QStringList& vehicleNames();
    static QString anyVehicle() { return QStringLiteral("- any -"); }
    // Appends the vehicle names to lstApplication and shows "- any -" (the start-up step).
    void addVehicles();

    QGroupBox* framePartSearch;
    QLabel* lblEnterPart;
    QLineEdit* txtPart;
    QPushButton* cmdSearchPart;

    QGroupBox* frameDescSearch;
    QLabel* lblEnterDesc;
    QLineEdit* txtDesc;
    QLabel* lblSelectVehicle;
    QComboBox* lstApplication;
    QPushButton* cmdSearchDesc;

private:
    AppContext& context_;
};

} // namespace quillon
