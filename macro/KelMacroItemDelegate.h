// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Paints the rows of the macro page's event table: each row holds the decimal texts of
// one step's Map, DataH and DataL (their Qt::EditRole), shown as the key, button, movement
// or delay it stands for in the columns "KEY", "ACTION" and "DELAY(ms)".

#include "MacroFile.h"

#include <QPixmap>
#include <QStyledItemDelegate>

class KelMacroItemDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    // unit: the model's delay unit in milliseconds.
    explicit KelMacroItemDelegate(int unit, QObject *parent = nullptr);

    // The text of a step in a column (0 key, 1 action, 2 delay).
    static QString cellText(const MacroEvent &e, int column, int unit);
    // The name of a button mask of a button step ("LEFT CLICK", ...), empty when unknown.
    static QString buttonName(int mask);
    // The name of a movement direction ("MOVE LEFT", ...).
    static QString moveName(int direction);
    // The step of a table row.
    static MacroEvent rowEvent(const QModelIndex &index);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    const QPixmap *iconFor(const MacroEvent &e) const;

    int m_unit;
    QPixmap m_keyDown;
    QPixmap m_keyUp;
    QPixmap m_move;
};
