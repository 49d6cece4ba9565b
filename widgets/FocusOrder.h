// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The order Tab takes through a window: controls in reading order (top to bottom, then left to
// right along a line), chained with QWidget::setTabOrder.

#include <QList>

class QWidget;

// The controls under root that Tab can reach, in reading order by where they sit in root.
// Widgets inside item views, spin boxes and combo boxes are theirs, not root's, and are left
// out; so are pop-up menus and other windows.
QList<QWidget *> readingOrder(QWidget *root);
// Sorts widgets into reading order by where they sit in frame: a widget whose middle lies
// within a line's height is on that line.
QList<QWidget *> inReadingOrder(QList<QWidget *> widgets, const QWidget *frame);
// Tab goes from each widget to the next (null entries are passed over).
void chainTabOrder(const QList<QWidget *> &widgets);
