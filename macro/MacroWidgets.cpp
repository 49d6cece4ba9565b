// SPDX-License-Identifier: GPL-3.0-or-later
#include "MacroWidgets.h"

#include "AppDir.h"
#include "KelCheckBox.h"
#include "KelLabel.h"
#include "KelLineEdit.h"
#include "KelMessageBox.h"
#include "KelPushButton.h"
#include "Scale.h"

#include <QCoreApplication>
#include <QValidator>

QRect macroPlace(const QRect &design) {
    return scaledRect(design.x(), design.y(), design.width(), design.height());
}

KelPushButton *macroButton(QWidget *parent, const char *objectName) {
    QStringList pictures;
    for (int i = 1; i <= 4; ++i)
        pictures << AppDir::path() + QStringLiteral("/skin/button-%1.png").arg(i);
    auto *b = new KelPushButton(pictures, parent);
    b->setObjectName(QLatin1String(objectName));
    return b;
}

KelLineEdit *macroField(QWidget *parent, const char *objectName, int maxLength,
                        QValidator *validator) {
    auto *field = new KelLineEdit(parent);
    field->setObjectName(QLatin1String(objectName));
    field->setMaxLength(maxLength);
    if (validator) {
        validator->setParent(field);
        field->setValidator(validator);
    }
    field->setStyleSheet(QStringLiteral(
        "border:1px solid rgb(70,75,82);background-color:rgb(30,30,30);color:white"));
    return field;
}

KelCheckBox *macroCheckBox(QWidget *parent, const char *objectName) {
    auto *box = new KelCheckBox(QString(), parent);
    box->setObjectName(QLatin1String(objectName));
    return box;
}

KelLabel *macroLabel(QWidget *parent) {
    auto *label = new KelLabel(parent);
    label->setStyleSheet(QStringLiteral("color: rgb(200, 200, 200);"));
    return label;
}

QString macroScrollBarStyle() {
    return QStringLiteral("QScrollBar:vertical{background:rgb(24,26,30);width:%1px;margin:0;}"
                          "QScrollBar::handle:vertical{background:rgb(70,75,82);min-height:%2px;"
                          "border-radius:%3px;}"
                          "QScrollBar::add-line:vertical,QScrollBar::sub-line:vertical{height:0;}"
                          "QScrollBar::add-page:vertical,QScrollBar::sub-page:vertical{"
                          "background:none;}")
        .arg(scaled(8))
        .arg(scaled(20))
        .arg(scaled(3));
}

void macroWarning(QWidget *parent, const QString &text) {
    KelMessageBox box(KelMessageBox::KindWarning,
                      QCoreApplication::translate("MacroDialog", "Warning"), text, QString(),
                      parent);
    box.exec();
}
