#include "window/accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

namespace {

// A combo box named by its caption, its value given as the value.
class NamedComboBox : public QAccessibleWidget {
public:
    explicit NamedComboBox(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        const QComboBox* c = static_cast<QComboBox*>(widget());
        if (t == QAccessible::Value)
            return c->isEditable() ? c->lineEdit()->text() : c->currentText();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& actionName) override {
        if (actionName == showMenuAction()) {
            static_cast<QComboBox*>(widget())->showPopup();
            return;
        }
        QAccessibleWidget::doAction(actionName);
    }
};

QAccessibleInterface* ComboFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("QComboBox") && object && object->isWidgetType()) {
        return new NamedComboBox(static_cast<QComboBox*>(object));
    }
    return nullptr;
}

}  // namespace

void InstallAccessibleNames() {
    static const bool installed = [] {
        QAccessible::installFactory(ComboFactory);
        return true;
    }();
    (void)installed;
}

void NameControl(QWidget* control, const QString& caption) {
    control->setAccessibleName(caption);
    if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->lineEdit()) {
        combo->lineEdit()->setAccessibleName(caption);
    }
}
