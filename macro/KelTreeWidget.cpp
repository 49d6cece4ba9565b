// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelTreeWidget.h"

#include "InterfaceColour.h"
#include "KelLabel.h"
#include "KelLineEdit.h"
#include "KelMacroItemDelegate.h"
#include "LanguageFont.h"
#include "MacroFile.h"
#include "MacroRules.h"
#include "MacroWidgets.h"
#include "Scale.h"
#include "SkinImage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

namespace {
constexpr int kEntryHeight = 24;
constexpr int kIconSize = 16;
constexpr char kDirectionProperty[] = "direction"; // of a distance field, 0..3
const uint8_t kButtonMasks[5] = {MacroButtonLeft, MacroButtonMiddle, MacroButtonRight,
                                 MacroButtonForward, MacroButtonBackward};
} // namespace

MyIntValidator2::MyIntValidator2(QObject *parent) : QIntValidator(1, kMoveMaxDistance, parent) {}

QValidator::State MyIntValidator2::validate(QString &input, int &pos) const {
    if (input.isEmpty())
        return Intermediate;
    // A number above the range can never become valid by typing more digits.
    bool ok = false;
    const int value = input.toInt(&ok);
    if (ok && value > top())
        return Invalid;
    return QIntValidator::validate(input, pos);
}

KelTreeItem::KelTreeItem(const QString &icon, QWidget *parent) : QWidget(parent) {
    auto *layout = new QHBoxLayout(this);
    if (!icon.isEmpty()) {
        m_icon = new QLabel(this);
        m_icon->setPixmap(QPixmap(skinPath(icon)));
        m_icon->setScaledContents(true);
        layout->addWidget(m_icon);
    }
    m_text = new KelLabel(this);
    m_text->setStyleSheet(QStringLiteral("color: rgb(225, 225, 225); background: transparent;"));
    layout->addWidget(m_text, 1);
    setAttribute(Qt::WA_TranslucentBackground);
    relayout();
}

KelTreeItem *KelTreeItem::distanceItem(QWidget *parent) {
    auto *item = new KelTreeItem(QString(), parent);
    item->m_field = macroField(item, "macroDistanceField", 3, new MyIntValidator2);
    item->m_field->setText(QStringLiteral("10"));
    item->m_text->setBuddy(item->m_field);
    item->layout()->addWidget(item->m_field);
    item->relayout();
    return item;
}

void KelTreeItem::setText(const QString &text) {
    m_text->setText(text);
    if (m_icon)
        m_icon->setAccessibleName(text);
}

void KelTreeItem::relayout() {
    layout()->setContentsMargins(scaled(2), 0, scaled(4), 0);
    layout()->setSpacing(scaled(6));
    if (m_icon)
        m_icon->setFixedSize(scaledSize(kIconSize, kIconSize));
    if (m_field)
        m_field->setFixedSize(scaledSize(48, 20));
}

KelTreeWidget::KelTreeWidget(QWidget *parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setMouseTracking(true);
    // Tab reaches the tree; a click does not take the focus from where the keys go.
    setFocusPolicy(Qt::TabFocus);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::NoSelection);
    // Entries open and close by the page's rule only, not by their arrows.
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The branch arrows are drawn in the text colour: light on the dark tree.
    QPalette light = palette();
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        light.setColor(role, QColor(200, 200, 200));
    setPalette(light);

    auto add = [this](QTreeWidgetItem *parent, const QString &icon, Command command, int value) {
        auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
        item->setData(0, kCommandRole, int(command));
        item->setData(0, kValueRole, value);
        setItemWidget(item, 0,
                      command == DistanceEntry ? KelTreeItem::distanceItem()
                                               : new KelTreeItem(icon));
        return item;
    };
    for (int i = 0; i < 5; ++i) {
        m_buttons[i] =
            add(nullptr, QStringLiteral("mouse_click.png"), ButtonClick, kButtonMasks[i]);
        add(m_buttons[i], QStringLiteral("keydown.png"), ButtonPress, kButtonMasks[i]);
        add(m_buttons[i], QStringLiteral("keyup.png"), ButtonRelease, kButtonMasks[i]);
    }
    for (int d = 0; d < 4; ++d) {
        m_moves[d] = add(nullptr, QStringLiteral("mouse_move.png"), Movement, d);
        QTreeWidgetItem *child = add(m_moves[d], QString(), DistanceEntry, d);
        KelLineEdit *field = entry(child)->distanceField();
        field->setProperty(kDirectionProperty, d);
        field->installEventFilter(this);
    }
    retranslateUi();
    relayout();
}

KelTreeItem *KelTreeWidget::entry(QTreeWidgetItem *item) const {
    return static_cast<KelTreeItem *>(itemWidget(item, 0));
}

QTreeWidgetItem *KelTreeWidget::buttonItem(int index) const {
    return index >= 0 && index < 5 ? m_buttons[index] : nullptr;
}

QTreeWidgetItem *KelTreeWidget::moveItem(int direction) const {
    return direction >= 0 && direction < 4 ? m_moves[direction] : nullptr;
}

KelLineEdit *KelTreeWidget::distanceField(int direction) const {
    QTreeWidgetItem *move = moveItem(direction);
    return move ? entry(move->child(0))->distanceField() : nullptr;
}

void KelTreeWidget::retranslateUi() {
    // The entry's widget shows the text; a screen reader reads the item's.
    const auto setText = [this](QTreeWidgetItem *item, const QString &text) {
        entry(item)->setText(text);
        item->setData(0, Qt::AccessibleTextRole, text);
    };
    for (QTreeWidgetItem *b : m_buttons) {
        setText(b, KelMacroItemDelegate::buttonName(b->data(0, kValueRole).toInt()));
        setText(b->child(0), tr("PRESS DOWN"));
        setText(b->child(1), tr("BOUNCE UP"));
    }
    for (QTreeWidgetItem *m : m_moves) {
        const QString move = KelMacroItemDelegate::moveName(m->data(0, kValueRole).toInt());
        setText(m, move);
        setText(m->child(0), tr("DISTANCE"));
        KelLineEdit *field = entry(m->child(0))->distanceField();
        field->setToolTip(tr("MOVEMENT") + QStringLiteral(" 1-120"));
        // Four fields read "DISTANCE": the name says which movement each is for.
        field->setAccessibleName(QStringLiteral("%1, %2").arg(move, tr("DISTANCE")));
    }
}

void KelTreeWidget::relayout() {
    const QColor accent = interfaceColour();
    setStyleSheet(QStringLiteral("QTreeWidget{background:rgb(20,22,25);border:1px solid "
                                 "rgb(53,58,65);outline:0;}"
                                 "QTreeWidget::item{height:%1px;}"
                                 "QTreeWidget::item:hover{background:rgba(%2,%3,%4,60);}"
                                 "QTreeWidget::item:focus{background:rgba(%2,%3,%4,60);"
                                 "border:1px solid rgb(%2,%3,%4);}")
                      .arg(scaled(kEntryHeight))
                      .arg(accent.red())
                      .arg(accent.green())
                      .arg(accent.blue()) +
                  macroScrollBarStyle());
    setIndentation(scaled(14));
    QTreeWidgetItemIterator it(this);
    for (; *it; ++it) {
        (*it)->setSizeHint(0, QSize(0, scaled(kEntryHeight)));
        entry(*it)->relayout();
    }
}

void KelTreeWidget::mouseMoveEvent(QMouseEvent *event) {
    // The entry under the mouse is the current one, so it shows as hovered.
    if (QTreeWidgetItem *item = itemAt(event->pos()))
        setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
    QTreeWidget::mouseMoveEvent(event);
}

void KelTreeWidget::leaveEvent(QEvent *event) {
    if (!hasFocus())
        setCurrentItem(nullptr, 0, QItemSelectionModel::NoUpdate);
    QTreeWidget::leaveEvent(event);
}

void KelTreeWidget::focusInEvent(QFocusEvent *event) {
    if (!currentItem())
        setCurrentItem(m_buttons[0], 0, QItemSelectionModel::NoUpdate);
    QTreeWidget::focusInEvent(event);
}

void KelTreeWidget::keyPressEvent(QKeyEvent *event) {
    QTreeWidgetItem *item = currentItem();
    const int key = event->key();
    if (!item || (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space)) {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    if (item->data(0, kCommandRole).toInt() == DistanceEntry)
        entry(item)->distanceField()->setFocus(Qt::TabFocusReason);
    else
        emit itemClicked(item, 0);
}

bool KelTreeWidget::eventFilter(QObject *watched, QEvent *event) {
    // Escape in a distance field goes back to the tree; Enter inserts the movement first. Both
    // end here: a line edit passes Enter on, and the tree would take it for its current item.
    const int key = event->type() == QEvent::KeyPress ? static_cast<QKeyEvent *>(event)->key() : 0;
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (field && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        if (field->hasAcceptableInput())
            emit distanceEntered(field->property(kDirectionProperty).toInt(),
                                 field->text().toInt());
        setFocus(Qt::OtherFocusReason);
        return true;
    }
    if (field && key == Qt::Key_Escape && field->hasFocus()) {
        setFocus(Qt::OtherFocusReason);
        return true;
    }
    return QTreeWidget::eventFilter(watched, event);
}
