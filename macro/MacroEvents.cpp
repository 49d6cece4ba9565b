// SPDX-License-Identifier: GPL-3.0-or-later
// The macro page's event table: showing, inserting, moving, deleting, copying and pasting
// steps; the command tree; the keyboard recorder; and edit mode, which changes one step at
// a time.
#include "MacroDialog.h"
#include "MacroLog.h"

#include "KelLabel.h"
#include "KelMacroItemDelegate.h"
#include "KelPushButton.h"
#include "KelTreeWidget.h"
#include "KeyCapture.h"
#include "KeyTable.h"
#include "MacroListPanel.h"
#include "MacroRules.h"
#include "MacroStepEditor.h"
#include "MacroWidgets.h"

#include <QEvent>
#include <QKeyEvent>
#include <QStandardItemModel>
#include <QTableView>
#include <utility>

namespace {
constexpr int kEscapeScanCode = 1;

QList<QStandardItem *> rowItems(const MacroEvent &e) {
    return {new QStandardItem(QString::number(e.Map)), new QStandardItem(QString::number(e.DataH)),
            new QStandardItem(QString::number(e.DataL))};
}
} // namespace

// ---------------------------------------------------------------- the table

MacroEvent MacroDialog::rowEvent(int row) const {
    return row >= 0 ? KelMacroItemDelegate::rowEvent(m_model->index(row, 0)) : MacroEvent();
}

QVector<MacroEvent> MacroDialog::events() const {
    QVector<MacroEvent> out;
    for (int row = 0; row < m_model->rowCount(); ++row)
        out.append(rowEvent(row));
    return out;
}

int MacroDialog::currentRow() const {
    const QModelIndex current = m_table->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void MacroDialog::clearTable() {
    m_model->removeRows(0, m_model->rowCount());
    m_model->setHorizontalHeaderLabels({tr("KEY"), tr("ACTION"), tr("DELAY(ms)")});
}

void MacroDialog::setEvents(const QVector<MacroEvent> &events) {
    // The hint reads every row: told once when all are in, not after each, so that a long file
    // loads in a time that grows with its rows, not with their square.
    m_fillingTable = true;
    clearTable();
    for (const MacroEvent &e : events)
        m_model->appendRow(rowItems(e));
    m_fillingTable = false;
    showHint();
}

void MacroDialog::setRow(int row, const MacroEvent &e) {
    if (row < 0 || row >= m_model->rowCount())
        return;
    m_model->item(row, 0)->setText(QString::number(e.Map));
    m_model->item(row, 1)->setText(QString::number(e.DataH));
    m_model->item(row, 2)->setText(QString::number(e.DataL));
}

void MacroDialog::SelectRow(int row) {
    qCDebug(lcMacro, "SelectRow %d", row);
    if (row < 0 || row >= m_model->rowCount()) {
        m_table->clearSelection();
        return;
    }
    const QModelIndex index = m_model->index(row, 0);
    m_table->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                          QItemSelectionModel::Rows);
    m_table->scrollTo(index);
}

void MacroDialog::itemClicked(const QModelIndex &index) {
    qCDebug(lcMacro, "itemClicked %d", index.row());
    // In edit mode a click on a step makes its editor ready: the next key is its key.
    if (m_editing) {
        m_stepEditor->focusEditor();
        if (m_capture)
            m_capture->setArmed(true);
    }
}

bool MacroDialog::insertEvents(const QVector<MacroEvent> &events) {
    if (events.isEmpty())
        return false;
    // Steps are a macro's: without one they would be dropped at the next choice or quit.
    if (currentMacro().isEmpty()) {
        macroWarning(this, tr("Press NEW to make a macro first."));
        return false;
    }
    if (!rowsFit(this->events(), events)) {
        macroWarning(this, tr("No room for these steps: %n more fit this macro on the mouse.",
                              nullptr, macroRoomLeft(this->events())));
        return false;
    }
    // After the selected row (at the end when none is), and the last new row is selected.
    const int row = currentRow();
    const int at = row >= 0 ? row + 1 : m_model->rowCount();
    for (int i = 0; i < events.size(); ++i)
        m_model->insertRow(at + i, rowItems(events[i]));
    SelectRow(at + events.size() - 1);
    return true;
}

void MacroDialog::insertWithDelay(const MacroEvent &e) {
    insertEvents(withDelay(e, delayType(), editorSettings().DefaultDelay, m_unit));
}

QVector<int> MacroDialog::selectedRows() const {
    QVector<int> rows;
    const QModelIndexList selected = m_table->selectionModel()->selectedRows();
    for (const QModelIndex &i : selected)
        rows.append(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void MacroDialog::deleteRows() {
    const QVector<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    // The hint, which reads every row, is told once at the end, as when a file loads.
    m_fillingTable = true;
    for (int i = rows.size() - 1; i >= 0; --i)
        m_model->removeRow(rows[i]);
    m_fillingTable = false;
    showHint();
    // The selection moves to the row now in the first removed place, or to the last row.
    SelectRow(qMin(rows.first(), m_model->rowCount() - 1));
}

void MacroDialog::moveRow(int to) {
    const int row = currentRow();
    if (row < 0 || to < 0 || to >= m_model->rowCount() || to == row)
        return;
    m_model->insertRow(to, m_model->takeRow(row));
    SelectRow(to);
}

void MacroDialog::copyRows(bool cut) {
    // The copied rows stay while the page lives, so they can go into another macro.
    const QVector<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    m_clipboard.clear();
    for (int row : rows)
        m_clipboard.append(rowEvent(row));
    if (cut)
        deleteRows();
}

// ---------------------------------------------------------------- the command tree

void MacroDialog::TreeitemClick(QTreeWidgetItem *item, int) {
    if (!item)
        return;
    const int command = item->data(0, KelTreeWidget::kCommandRole).toInt();
    const uint8_t mask = uint8_t(item->data(0, KelTreeWidget::kValueRole).toInt());
    const MacroEvent press{uint8_t(MacroKindButton | kMacroPressBit), 0, mask};
    const MacroEvent release{MacroKindButton, 0, mask};
    switch (command) {
    case KelTreeWidget::ButtonClick:
    case KelTreeWidget::Movement:
        if (!item->isExpanded()) {
            // A closed entry opens, and every other one closes.
            m_panel->tree()->collapseAll();
            item->setExpanded(true);
        } else if (command == KelTreeWidget::ButtonClick) {
            const int type = delayType();
            const int ms = editorSettings().DefaultDelay;
            insertEvents(withDelay(press, type, ms, m_unit) + withDelay(release, type, ms, m_unit));
        } else {
            item->setExpanded(false);
        }
        break;
    case KelTreeWidget::ButtonPress:
        insertWithDelay(press);
        break;
    case KelTreeWidget::ButtonRelease:
        insertWithDelay(release);
        break;
    default:
        break;
    }
}

void MacroDialog::KelItemPressed(int direction, int distance) {
    insertWithDelay(movementEvent(MoveDirection(qBound(0, direction, 3)), distance));
}

// ---------------------------------------------------------------- recording

void MacroDialog::listenToKeys(bool on) {
    if (on && !m_capture) {
        m_capture = new KeyCapture(this);
        // A box that comes up meanwhile (a mouse pulled out) is answered with its own keys.
        m_capture->listenTo(window()->windowHandle());
        if (m_editing) {
            // A step's key is taken in its field, one at a time; Tab, Enter and Escape move
            // on, save and cancel unless a click on a step made its field ready for any key.
            m_capture->setTakesKeys(true);
            m_capture->setArmed(false);
            m_capture->listenWhile(
                [this] { return window()->focusWidget() == m_stepEditor->keyField(); });
        }
        connect(m_capture, &KeyCapture::keyEvent, this, &MacroDialog::onKey);
    } else if (!on && m_capture) {
        delete m_capture;
        m_capture = nullptr;
    }
}

void MacroDialog::startRecording() {
    // The steps shown come back when the recording adds none.
    m_beforeRecording = events();
    clearTable();
    // With no macro there is nothing to record into.
    if (currentMacro().isEmpty())
        return;
    m_recording = true;
    m_recorder.start();
    setControlsEnabled(false);
    retranslateUi();
    emit EnableButtonsSignal(false);
    listenToKeys(true);
    setFocus();
}

void MacroDialog::stopRecording() {
    // A key released just before takes its place first.
    if (m_capture)
        m_capture->flush();
    m_recording = false;
    listenToKeys(false);
    m_stopHold.stop();
    setControlsEnabled(true);
    retranslateUi();
    emit EnableButtonsSignal(true);
    m_recordBtn->setFocus();
    // A recording without a step (STOP pressed by mistake, or only Escape held) leaves the
    // macro as it was shown, and its file as it was.
    const QVector<MacroEvent> before = std::exchange(m_beforeRecording, {});
    if (m_model->rowCount() == 0) {
        setEvents(before);
        return;
    }
    if (hasUnreleasedKeys(events()))
        macroWarning(this, tr("ONE OR MORE KEYS HAS NOT BEEN RELEASED."));
    saveCurrent();
}

void MacroDialog::onKey(quint8 scanCode, quint8 flags, bool repeat, qint64 timeMs) {
    if (m_recording) {
        // Escape held ends the recording (see m_stopHold).
        if (scanCode == kEscapeScanCode && !repeat) {
            if (flags & KeyFlagReleased) {
                m_stopHold.stop();
            } else {
                m_rowsBeforeEscape = m_model->rowCount();
                m_stopHold.start();
            }
        }
        const MacroFile settings = editorSettings();
        const MacroRecorder::Options options{settings.DelayType, settings.DefaultDelay, m_unit};
        QVector<MacroEvent> rows = events();
        const int added = m_recorder.keyEvent(scanCode, flags, repeat, timeMs, options, rows);
        for (int i = rows.size() - added; i < rows.size(); ++i)
            m_model->appendRow(rowItems(rows[i]));
        if (added > 0)
            SelectRow(m_model->rowCount() - 1);
        // Keys typed on go nowhere: the user is told at once, not at STOP.
        if (m_recorder.isFull())
            showHint();
        return;
    }
    if (!m_editing || repeat)
        return;
    // A key sets the key of the selected key step; its press or release stays.
    const int code = MacroRecorder::keyCodeOf(scanCode, flags);
    if (code == m_lastEditCode && flags == m_lastEditFlags)
        return;
    m_lastEditCode = code;
    m_lastEditFlags = flags;
    const int row = currentRow();
    MacroEvent e = rowEvent(row);
    int usage = 0;
    if (row < 0 || (e.Map & 0x7F) != MacroKindKey || !keyCodeToUsage(code, usage))
        return;
    e.DataL = uint8_t(usage);
    setRow(row, e);
    m_stepEditor->showKey(keyName(code));
}

bool MacroDialog::event(QEvent *event) {
    // While recording, keys that reach the page itself are the recorder's, not shortcuts or
    // focus moves.
    if (m_recording && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void MacroDialog::keyPressEvent(QKeyEvent *event) {
    // In edit mode Enter saves and Escape cancels, from wherever the focus is on the page.
    const int key = event->key();
    if (m_editing && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)) {
        finishEditing(key != Qt::Key_Escape);
        return;
    }
    QWidget::keyPressEvent(event);
}

// ---------------------------------------------------------------- edit mode

void MacroDialog::showEditors(bool on) {
    m_options->setVisible(!on);
    m_stepEditor->setVisible(on);
}

void MacroDialog::startEditing() {
    const int row = currentRow();
    if (row < 0 || m_editing)
        return;
    m_editing = true;
    m_beforeEditing = events();
    m_lastEditCode = -1;
    m_lastEditFlags = -1;
    showEditors(true);
    setControlsEnabled(false);
    retranslateUi();
    emit EnableButtonsSignal(false);
    listenToKeys(true);
    m_stepEditor->showStep(rowEvent(row));
    setFocus();
    m_stepEditor->focusEditor();
}

void MacroDialog::stopEditing() {
    const bool hadFocus = m_stepEditor->isAncestorOf(window()->focusWidget());
    m_editing = false;
    listenToKeys(false);
    setControlsEnabled(true);
    if (hadFocus)
        m_editBtn->setFocus();
    showEditors(false);
    retranslateUi();
    emit EnableButtonsSignal(true);
}

void MacroDialog::CurrentChanged(const QModelIndex &current, const QModelIndex &) {
    if (m_editing)
        m_stepEditor->showStep(rowEvent(current.row()));
}

void MacroDialog::EditDelayChanged(const QString &text) {
    const int row = currentRow();
    // Less than a unit (an emptied field, a number still being typed) is no delay to store.
    if (m_editing && (rowEvent(row).Map & 0x7F) == MacroKindDelay &&
        text.toInt() >= boundedDelayUnit(m_unit))
        setRow(row, delayEvent(text.toInt(), m_unit));
}

void MacroDialog::EditMoveChanged(const QString &text) {
    const int row = currentRow();
    MacroEvent e = rowEvent(row);
    const int d = text.toInt();
    if (!m_editing || (e.Map & 0x7F) != MacroKindMove || d < 1 || d > kMoveMaxDistance)
        return;
    // The step keeps its direction; only the distance changes.
    const int direction = m_stepEditor->direction();
    const MacroEvent moved = movementEvent(MoveDirection(direction), d);
    if (direction == MoveLeft || direction == MoveRight)
        e.DataL = moved.DataL;
    else
        e.DataH = moved.DataH;
    setRow(row, e);
}
