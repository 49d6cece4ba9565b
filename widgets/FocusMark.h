// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard focus mark of the skinned widgets: a thin rounded outline in the interface
// colour, drawn by each widget over its own picture. Like a browser's focus ring it shows only
// while the user works with the keys: a click hides it until the next key press, so a mouse
// user sees the skin as it always was.

class QAbstractScrollArea;
class QPainter;
class QRect;
class QWidget;

// True when widget has the focus and the last input of the program was a key.
bool showsFocusMark(const QWidget *widget);
// Draws the mark inside area when showsFocusMark(widget); painter paints on widget.
void paintFocusMark(QPainter &painter, const QWidget *widget, const QRect &area);
// The same with its own painter, over the whole widget: for widgets whose picture a style
// draws (call it after the base class has painted).
void paintFocusMark(QWidget *widget);
// Gives a widget of Qt's own (a dialog's tool button drawn by a style sheet) the same mark,
// painted over what the widget painted. A widget edged in the interface colour of its own gets
// the mark designInset design pixels inside that edge, where it can be told from it.
void markFocusOf(QWidget *widget, int designInset = 0);
// The same for a scroll area (a list, a table): the mark lies inside its frame, over its items,
// so that it shows also when there are none.
void markFocusOf(QAbstractScrollArea *area);
// Makes the mark follow key presses and clicks from now on; every skinned widget that takes
// the focus calls it once it is made (more calls do nothing).
void trackFocusMarks();
