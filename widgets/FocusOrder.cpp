// SPDX-License-Identifier: GPL-3.0-or-later
#include "FocusOrder.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QWidget>

#include <algorithm>

namespace {
// True for a widget that is part of another control, or of a pop-up, below root.
bool insideAnother(const QWidget *widget, const QWidget *root) {
    for (const QWidget *p = widget->parentWidget(); p && p != root; p = p->parentWidget()) {
        if (p->isWindow() || qobject_cast<const QAbstractItemView *>(p) ||
            qobject_cast<const QAbstractSpinBox *>(p) || qobject_cast<const QComboBox *>(p))
            return true;
    }
    return false;
}
} // namespace

QList<QWidget *> readingOrder(QWidget *root) {
    QList<QWidget *> found;
    const QList<QWidget *> all = root->findChildren<QWidget *>();
    for (QWidget *w : all) {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->isWindow() && !insideAnother(w, root))
            found << w;
    }
    return inReadingOrder(found, root);
}

QList<QWidget *> inReadingOrder(QList<QWidget *> widgets, const QWidget *frame) {
    struct Placed {
        QWidget *widget;
        QRect rect;
    };
    QVector<Placed> placed;
    for (QWidget *w : widgets) {
        if (w)
            placed.append({w, QRect(w->mapTo(frame, QPoint(0, 0)), w->size())});
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const Placed &a, const Placed &b) { return a.rect.top() < b.rect.top(); });
    QList<QWidget *> ordered;
    for (int start = 0; start < placed.size();) {
        // A line: the first widget left, and every following one whose middle lies within it.
        const QRect line = placed[start].rect;
        int end = start + 1;
        while (end < placed.size() && placed[end].rect.center().y() <= line.bottom())
            ++end;
        std::stable_sort(
            placed.begin() + start, placed.begin() + end,
            [](const Placed &a, const Placed &b) { return a.rect.left() < b.rect.left(); });
        for (int i = start; i < end; ++i)
            ordered << placed[i].widget;
        start = end;
    }
    return ordered;
}

void chainTabOrder(const QList<QWidget *> &widgets) {
    QWidget *previous = nullptr;
    for (QWidget *w : widgets) {
        if (!w)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}
