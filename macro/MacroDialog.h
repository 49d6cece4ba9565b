// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The macro page of the main window: the macro list and command tree at the side, the event
// table of the selected macro, the keyboard recorder, the step editor of edit mode, and the
// delay and loop options saved with the macro file. The page edits macro files, not the
// profile.

#include "MacroFile.h"
#include "MacroRecorder.h"
#include "SettingsPage.h"

#include <QModelIndex>
#include <QTimer>
#include <QVector>
#include <QWidget>
#include <optional>

class KelCheckBox;
class KelLabel;
class KelLineEdit;
class KelMacroItemDelegate;
class KelPushButton;
class KeyCapture;
class MacroListPanel;
class MacroStepEditor;
class QStandardItemModel;
class QTableView;
class QTreeWidgetItem;

class MacroDialog : public QWidget, public SettingsPage {
    Q_OBJECT

public:
    explicit MacroDialog(QWidget *parent = nullptr);
    ~MacroDialog() override;

    // The page shows macro files, not the set: loading and collecting leave it alone.
    void loadPage(const ProfileSet &, const PageView &) override {}
    void collectProfile(ProfileSet &) const override {}
    // Sets every text again in the current language.
    void retranslateUi() override;
    // Lays the page out again for the published scale factor.
    void relayout() override;

    MacroListPanel *listPanel() const { return m_panel; }
    // The macro shown has changes not saved (outside a recording) that the user was not yet
    // asked about.
    bool hasUnsavedSteps() const;
    // Then asks whether they are saved, and saves them on Yes: before another macro is shown,
    // and before the program or the desktop session ends. No is not asked again for the same
    // steps.
    void offerToSave();
    // The program ends without asking (a signal, a session manager that lets no program ask):
    // the shown steps not saved, also those of a recording under way, are kept beside the
    // macro in a new one ("<name>_unsaved", made unique), never over it. Its name, or ""
    // when nothing needed keeping or it could not be written.
    QString keepUnsavedSteps();
    // The macro selected in the list ("" for none).
    QString currentMacro() const;
    // The steps in the table, in order.
    QVector<MacroEvent> events() const;
    // The table row selected (-1 for none).
    int currentRow() const;
    bool isRecording() const { return m_recording; }
    bool isEditing() const { return m_editing; }
    // The editor's delay option, default delay, loop option and loop count.
    MacroFile editorSettings() const;

signals:
    // The main window's controls are off while the page records or edits a step.
    void EnableButtonsSignal(bool bEnable);
    // A macro got another name; buttons bound to the old name should follow.
    void MacroRenamed(const QString &from, const QString &to);

public slots:
    void TreeitemClick(QTreeWidgetItem *item, int column);
    void itemClicked(const QModelIndex &index);
    void EditMoveChanged(const QString &text);
    void EditDelayChanged(const QString &text);
    void DefDelayChanged(const QString &text);
    void LoopTimeChanged(const QString &text);
    void CurrentChanged(const QModelIndex &current, const QModelIndex &previous);
    void KelItemPressed(int direction, int distance);
    void checkbtn_clicked();
    void SelectRow(int row);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Building, texts and options (MacroDialog.cpp).
    void createWidgets();
    void createTable();
    void createOptions();
    void placeCommandRows();
    void styleTable();
    void setControlsEnabled(bool on);
    // Another macro chosen in the list: offerToSave, then the chosen one is loaded.
    void chooseMacro(const QString &name);
    void loadMacro(const QString &name);
    bool saveCurrent();
    // The macro as the page shows it: its options and steps.
    MacroFile shownMacro() const;
    void setDelayType(int type);
    void setLoopType(int type);
    int delayType() const;
    int loopType() const;

    // The event table, recording and edit mode (MacroEvents.cpp).
    MacroEvent rowEvent(int row) const;
    void setEvents(const QVector<MacroEvent> &events);
    void setRow(int row, const MacroEvent &e);
    void clearTable();
    bool insertEvents(const QVector<MacroEvent> &events);
    void insertWithDelay(const MacroEvent &e);
    QVector<int> selectedRows() const;
    void deleteRows();
    void moveRow(int to);
    void copyRows(bool cut);
    void startRecording();
    void stopRecording();
    void startEditing();
    void stopEditing();
    void showEditors(bool on);
    void listenToKeys(bool on);
    void onKey(quint8 scanCode, quint8 flags, bool repeat, qint64 timeMs);
    // What the hint line says: recording, editing, or the room left for steps.
    void showHint();
    // SAVE writes the file, CANCEL reads it again; either ends edit mode.
    void finishEditing(bool save);

    int m_unit = 10;
    bool m_recording = false;
    bool m_editing = false;
    MacroRecorder m_recorder;
    // Rows are going in all at once; the hint waits for the last.
    bool m_fillingTable = false;
    KeyCapture *m_capture = nullptr;
    int m_lastEditCode = -1;
    int m_lastEditFlags = -1;
    // Escape held this long ends a recording, and its steps are taken out again.
    static constexpr int kStopHoldMs = 1000;
    QTimer m_stopHold;
    int m_rowsBeforeEscape = 0;
    // The steps shown when the recording started.
    QVector<MacroEvent> m_beforeRecording;
    QVector<MacroEvent> m_beforeEditing;
    QVector<MacroEvent> m_clipboard;

    MacroListPanel *m_panel = nullptr;
    // The macro the page shows, and how it was when loaded or last saved.
    QString m_shownName;
    // The shown steps differ from the stored macro and were not declined.
    bool stepsUnsaved() const;
    MacroFile m_shownAsStored;
    // The unsaved state the user chose not to save, while it is shown.
    std::optional<MacroFile> m_declined;

    // Recording and the table.
    KelPushButton *m_recordBtn = nullptr;
    KelLabel *m_recordHint = nullptr;
    QTableView *m_table = nullptr;
    QStandardItemModel *m_model = nullptr;
    KelMacroItemDelegate *m_delegate = nullptr;
    KelPushButton *m_deleteRowBtn = nullptr;
    KelPushButton *m_upBtn = nullptr;
    KelPushButton *m_downBtn = nullptr;
    KelPushButton *m_topBtn = nullptr;
    KelPushButton *m_bottomBtn = nullptr;
    KelPushButton *m_clearBtn = nullptr;
    KelPushButton *m_editBtn = nullptr;
    KelPushButton *m_insertDelayBtn = nullptr;
    KelPushButton *m_copyBtn = nullptr;
    KelPushButton *m_cutBtn = nullptr;
    KelPushButton *m_pasteBtn = nullptr;

    // Options, and the step editor that takes their place in edit mode.
    QWidget *m_options = nullptr;
    KelCheckBox *m_recordDelaysBox = nullptr;
    KelCheckBox *m_defaultDelayBox = nullptr;
    KelLineEdit *m_defaultDelayEdit = nullptr;
    KelLabel *m_msLabel = nullptr;
    KelCheckBox *m_loopTimesBox = nullptr;
    KelLineEdit *m_loopTimeEdit = nullptr;
    KelCheckBox *m_repeatWhileBox = nullptr;
    KelCheckBox *m_repeatUntilBox = nullptr;
    MacroStepEditor *m_stepEditor = nullptr;

    KelPushButton *m_saveBtn = nullptr;
    KelPushButton *m_cancelBtn = nullptr;
};
