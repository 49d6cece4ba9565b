// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelMacroItemDelegate.h"

#include "InterfaceColour.h"
#include "KeyTable.h"
#include "LanguageFont.h"
#include "MacroRules.h"
#include "Scale.h"
#include "SkinImage.h"

#include <QPainter>

namespace {
constexpr int kRowHeight = 22;
constexpr int kIconSize = 16;

QPixmap skinPicture(const char *name) {
    return QPixmap(skinPath(QLatin1String(name)));
}
} // namespace

KelMacroItemDelegate::KelMacroItemDelegate(int unit, QObject *parent)
    : QStyledItemDelegate(parent), m_unit(unit), m_keyDown(skinPicture("keydown.png")),
      m_keyUp(skinPicture("keyup.png")), m_move(skinPicture("mouse_move.png")) {}

QString KelMacroItemDelegate::buttonName(int mask) {
    switch (mask) {
    case MacroButtonLeft:
        return tr("LEFT CLICK");
    case MacroButtonMiddle:
        return tr("MIDDLE CLICK");
    case MacroButtonRight:
        return tr("RIGHT CLICK");
    case MacroButtonForward:
        return tr("FORWARD");
    case MacroButtonBackward:
        return tr("BACKWARD");
    default:
        return QString();
    }
}

QString KelMacroItemDelegate::moveName(int direction) {
    switch (direction) {
    case MoveLeft:
        return tr("MOVE LEFT");
    case MoveRight:
        return tr("MOVE RIGHT");
    case MoveUp:
        return tr("MOVE UP");
    default:
        return tr("MOVE DOWN");
    }
}

QString KelMacroItemDelegate::cellText(const MacroEvent &e, int column, int unit) {
    const bool press = e.Map & kMacroPressBit;
    switch (e.Map & 0x7F) {
    case MacroKindKey: {
        if (column == 1)
            return press ? tr("Press") : tr("Release");
        int code = 0;
        return column == 0 && usageToKeyCode(e.DataL, code) ? keyName(code) : QString();
    }
    case MacroKindButton:
        if (column == 1)
            return press ? tr("Press") : tr("Release");
        return column == 0 ? buttonName(e.DataL) : QString();
    case MacroKindMove: {
        MoveDirection direction = MoveLeft;
        int distance = 0;
        if (column == 0)
            return moveOf(e, direction, distance) ? moveName(direction) : tr("MOVE");
        moveOf(e, direction, distance);
        return column == 1 ? QString::number(distance) : QString();
    }
    case MacroKindDelay:
        return column == 2 ? tr("%1 ms").arg(delayMs(e, unit)) : QString();
    default:
        return QString();
    }
}

MacroEvent KelMacroItemDelegate::rowEvent(const QModelIndex &index) {
    const QAbstractItemModel *model = index.model();
    if (!model)
        return {};
    auto byte = [&](int column) {
        return uint8_t(model->index(index.row(), column).data(Qt::EditRole).toString().toInt());
    };
    return {byte(0), byte(1), byte(2)};
}

const QPixmap *KelMacroItemDelegate::iconFor(const MacroEvent &e) const {
    switch (e.Map & 0x7F) {
    case MacroKindKey:
    case MacroKindButton:
        return (e.Map & kMacroPressBit) ? &m_keyDown : &m_keyUp;
    case MacroKindMove:
        return &m_move;
    default:
        return nullptr;
    }
}

void KelMacroItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const {
    const MacroEvent e = rowEvent(index);
    const QRect r = option.rect;
    painter->save();
    QColor fill = index.row() % 2 ? QColor(28, 31, 35) : QColor(22, 24, 27);
    if (option.state & QStyle::State_Selected) {
        // The interface colour, dimmed into the row so light text stays readable.
        const QColor accent = interfaceColour();
        const auto mix = [](int row, int colour) { return (row * 3 + colour * 2) / 5; };
        fill = QColor(mix(fill.red(), accent.red()), mix(fill.green(), accent.green()),
                      mix(fill.blue(), accent.blue()));
    }
    painter->fillRect(r, fill);

    int textLeft = r.left() + scaled(6);
    const QPixmap *icon = index.column() == 0 ? iconFor(e) : nullptr;
    if (icon && !icon->isNull()) {
        const int size = scaled(kIconSize);
        const QRect place(textLeft, r.top() + (r.height() - size) / 2, size, size);
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawPixmap(place, *icon);
        textLeft = place.right() + scaled(6);
    }
    painter->setFont(languageFont());
    painter->setPen((e.Map & 0x7F) == MacroKindDelay ? QColor(170, 176, 184)
                                                     : QColor(230, 230, 230));
    const QRect textRect(textLeft, r.top(), r.right() - textLeft - scaled(4), r.height());
    const QString text = cellText(e, index.column(), m_unit);
    painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                      painter->fontMetrics().elidedText(text, Qt::ElideRight, textRect.width()));
    painter->restore();
}

QSize KelMacroItemDelegate::sizeHint(const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const {
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), scaled(kRowHeight));
}
