#include "catalogue/value_field_accessible.h"

#include "catalogue/value_field.h"

namespace quillon {

namespace {

QAccessibleInterface* forValueField(const QString& /*className*/, QObject* object) {
    auto* field = qobject_cast<ValueField*>(object);
    return field != nullptr ? new ValueFieldAccessible(field) : nullptr;
}

} // namespace

ValueFieldAccessible::ValueFieldAccessible(QWidget* field)
    : QAccessibleWidget(field, QAccessible::StaticText) {}

QString ValueFieldAccessible::text(QAccessible::Text kind) const {
    const auto* field = static_cast<const QLabel*>(widget());
    switch (kind) {
    case QAccessible::Name:
        return field->accessibleName().isEmpty() ? field->text() : field->accessibleName();
    case QAccessible::Value:
    case QAccessible::Description:
        return field->text();
    default:
        return QAccessibleWidget::text(kind);
    }
}

void ValueFieldAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(forValueField);
        return true;
    }();
    (void)installed;
}

} // namespace quillon
