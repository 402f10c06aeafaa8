#include "LabelledComboBox.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>

namespace {

// Name: the accessible name or the buddy label's text, as for every other field; value: the text shown.
class LabelledComboBoxAccessible : public QAccessibleWidget {
public:
    explicit LabelledComboBoxAccessible(LabelledComboBox* box)
        : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value)
            return box()->currentText();
        return QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << QAccessibleActionInterface::showMenuAction();
    }
    void doAction(const QString& action) override {
        if (action == QAccessibleActionInterface::showMenuAction())
            box()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* labelledComboBoxAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("LabelledComboBox") && object && object->isWidgetType())
        return new LabelledComboBoxAccessible(static_cast<LabelledComboBox*>(object));
    return nullptr;
}

} // namespace

LabelledComboBox::LabelledComboBox(QWidget* parent) : QComboBox(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(labelledComboBoxAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}
