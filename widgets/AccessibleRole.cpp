// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibleRole.h"

#include <QAbstractButton>
#include <QAccessibleWidget>

namespace {
constexpr char kRoleProperty[] = "mousecfgAccessibleRole";

class RoleButton : public QAccessibleWidget {
public:
    RoleButton(QAbstractButton *button, QAccessible::Role role) : QAccessibleWidget(button, role) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (role() == QAccessible::PageTab) {
            s.selectable = true;
            s.selected = button()->isChecked();
        } else {
            s.checkable = true;
            s.checked = button()->isChecked();
        }
        return s;
    }
    QString text(QAccessible::Text t) const override {
        QString str = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && str.isEmpty())
            str = button()->text().remove(QLatin1Char('&'));
        return str;
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &name) override {
        if (name == pressAction())
            button()->click();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    QAbstractButton *button() const { return static_cast<QAbstractButton *>(widget()); }
};

QAccessibleInterface *roleFactory(const QString &, QObject *object) {
    auto *button = qobject_cast<QAbstractButton *>(object);
    const QVariant role = button ? button->property(kRoleProperty) : QVariant();
    return role.isValid() ? new RoleButton(button, QAccessible::Role(role.toInt())) : nullptr;
}
} // namespace

void setAccessibleRole(QAbstractButton *button, QAccessible::Role role) {
    static const bool installed = [] {
        QAccessible::installFactory(roleFactory);
        return true;
    }();
    Q_UNUSED(installed)
    button->setProperty(kRoleProperty, int(role));
    // Qt may have made the button's interface already, with the role of its class (a check box
    // given its text does so at once): that one goes, and the next question makes the right one.
    QAccessibleInterface *made = QAccessible::queryAccessibleInterface(button);
    if (made && made->role() != role)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}
