// SPDX-License-Identifier: GPL-3.0-or-later
// The macro page: building and laying out its widgets, its texts, the delay and loop
// options, and loading and saving the selected macro. The event table, recording and edit
// mode are in MacroEvents.cpp; the macro list is MacroListPanel.
#include "MacroDialog.h"
#include "MacroLog.h"

#include "AppConfig.h"
#include "FocusMark.h"
#include "InterfaceColour.h"
#include "KelCheckBox.h"
#include "KelLabel.h"
#include "KelLineEdit.h"
#include "KelMacroItemDelegate.h"
#include "KelMessageBox.h"
#include "KelPushButton.h"
#include "KelTreeWidget.h"
#include "KeyCapture.h"
#include "LanguageFont.h"
#include "MacroLayout.h"
#include "MacroList.h"
#include "MacroListPanel.h"
#include "MacroRules.h"
#include "MacroStepEditor.h"
#include "MacroWidgets.h"
#include "Scale.h"

#include <QHeaderView>
#include <QIntValidator>
#include <QPainter>
#include <QStandardItemModel>
#include <QTableView>

Q_LOGGING_CATEGORY(lcMacro, "mousecfg.macro", QtInfoMsg)

using namespace MacroLayout;

namespace {
// The step table's model. A cell holds a byte of its step (read as Qt::EditRole); shown, also to
// a screen reader, it is the text the delegate paints, in the language shown, or nothing.
class StepModel : public QStandardItemModel {
public:
    StepModel(int unit, QObject *parent) : QStandardItemModel(0, 3, parent), m_unit(unit) {}
    QVariant data(const QModelIndex &index, int role) const override {
        if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
            return QStandardItemModel::data(index, role);
        return KelMacroItemDelegate::cellText(KelMacroItemDelegate::rowEvent(index), index.column(),
                                              m_unit);
    }

private:
    int m_unit;
};
} // namespace

MacroDialog::MacroDialog(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("macroDialog"));
    setFocusPolicy(Qt::ClickFocus);
    m_unit = macroDelayUnit();
    createWidgets();
    retranslateUi();
    relayout();
    m_panel->reload(QString());
}

MacroDialog::~MacroDialog() {
    listenToKeys(false);
}

void MacroDialog::createWidgets() {
    m_panel = new MacroListPanel(this);
    connect(m_panel, &MacroListPanel::macroChosen, this, &MacroDialog::chooseMacro);
    connect(m_panel, &MacroListPanel::aboutToExport, this, &MacroDialog::offerToSave);
    connect(m_panel, &MacroListPanel::MacroRenamed, this,
            [this](const QString &from, const QString &to) {
                if (m_shownName == from)
                    m_shownName = to;
                emit MacroRenamed(from, to);
            });
    connect(m_panel->tree(), &QTreeWidget::itemClicked, this, &MacroDialog::TreeitemClick);
    connect(m_panel->tree(), &KelTreeWidget::distanceEntered, this, &MacroDialog::KelItemPressed);

    m_recordBtn = macroButton(this, "macroRecordBtn");
    m_recordHint = macroLabel(this);
    m_recordHint->setObjectName(QStringLiteral("macroRecordHint"));
    m_recordHint->setStyleSheet(QStringLiteral("color: rgb(255, 196, 87);"));
    createTable();
    m_deleteRowBtn = macroButton(this, "macroDeleteRowBtn");
    m_upBtn = macroButton(this, "macroUpBtn");
    m_downBtn = macroButton(this, "macroDownBtn");
    m_topBtn = macroButton(this, "macroTopBtn");
    m_bottomBtn = macroButton(this, "macroBottomBtn");
    m_clearBtn = macroButton(this, "macroClearBtn");
    m_editBtn = macroButton(this, "macroEditBtn");
    m_insertDelayBtn = macroButton(this, "macroInsertDelayBtn");
    m_copyBtn = macroButton(this, "macroCopyBtn");
    m_cutBtn = macroButton(this, "macroCutBtn");
    m_pasteBtn = macroButton(this, "macroPasteBtn");
    createOptions();
    m_stopHold.setSingleShot(true);
    // A release comes up to KeyCapture::kReleaseHoldMs late.
    m_stopHold.setInterval(kStopHoldMs + KeyCapture::kReleaseHoldMs);
    connect(&m_stopHold, &QTimer::timeout, this, [this] {
        // Escape let go after the hold but before this: its release, still held back, is
        // recorded now and goes with the rest rather than after them.
        if (m_capture)
            m_capture->flush();
        if (!m_recording)
            return;
        m_model->removeRows(m_rowsBeforeEscape, m_model->rowCount() - m_rowsBeforeEscape);
        stopRecording();
    });
    m_stepEditor = new MacroStepEditor(m_unit, this);
    m_stepEditor->hide();
    connect(m_stepEditor, &MacroStepEditor::delayEdited, this, &MacroDialog::EditDelayChanged);
    connect(m_stepEditor, &MacroStepEditor::moveEdited, this, &MacroDialog::EditMoveChanged);
    m_saveBtn = macroButton(this, "macroSaveBtn");
    m_cancelBtn = macroButton(this, "macroCancelBtn");
    for (KelPushButton *b : findChildren<KelPushButton *>(QString(), Qt::FindDirectChildrenOnly))
        connect(b, &QPushButton::clicked, this, &MacroDialog::checkbtn_clicked);
}

void MacroDialog::createTable() {
    m_model = new StepModel(m_unit, this);
    // The room left follows every change of the steps.
    for (auto change : {&QStandardItemModel::rowsInserted, &QStandardItemModel::rowsRemoved})
        connect(m_model, change, this, &MacroDialog::showHint);
    connect(m_model, &QStandardItemModel::dataChanged, this, &MacroDialog::showHint);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("macroEventTable"));
    m_table->setModel(m_model);
    m_delegate = new KelMacroItemDelegate(m_unit, m_table);
    m_table->setItemDelegate(m_delegate);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab reaches the table to step through its rows; a click does not take the keys from the
    // page, where the recorder and the step editor have them.
    m_table->setFocusPolicy(Qt::TabFocus);
    markFocusOf(m_table);
    m_table->setShowGrid(false);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The three columns share the table's width equally.
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &MacroDialog::CurrentChanged);
    connect(m_table, &QTableView::clicked, this, &MacroDialog::itemClicked);
    clearTable();
}

void MacroDialog::createOptions() {
    m_options = new QWidget(this);
    m_recordDelaysBox = macroCheckBox(m_options, "macroRecordDelaysBox");
    m_defaultDelayBox = macroCheckBox(m_options, "macroDefaultDelayBox");
    m_defaultDelayEdit =
        macroField(m_options, "macroDefaultDelayEdit", 5, new QIntValidator(0, 65535));
    m_msLabel = macroLabel(m_options);
    m_loopTimesBox = macroCheckBox(m_options, "macroLoopTimesBox");
    m_loopTimeEdit = macroField(m_options, "macroLoopTimeEdit", 3, new QIntValidator(0, 255));
    m_repeatWhileBox = macroCheckBox(m_options, "macroRepeatWhileBox");
    m_repeatUntilBox = macroCheckBox(m_options, "macroRepeatUntilBox");
    // The two delay options exclude each other, as do the three loop options; clearing the
    // one that is set leaves none.
    for (KelCheckBox *box : {m_recordDelaysBox, m_defaultDelayBox})
        connect(box, &QCheckBox::clicked, this, [this, box](bool on) {
            setDelayType(on ? (box == m_recordDelaysBox ? 1 : 2) : 0);
        });
    const KelCheckBox *loops[3] = {m_loopTimesBox, m_repeatWhileBox, m_repeatUntilBox};
    for (int i = 0; i < 3; ++i)
        connect(loops[i], &QCheckBox::clicked, this,
                [this, i](bool on) { setLoopType(on ? i + 1 : 0); });
    connect(m_defaultDelayEdit, &QLineEdit::textChanged, this, &MacroDialog::DefDelayChanged);
    // What is used and saved (at least 10 ms, at least one loop) is what the fields show once
    // they are left.
    connect(m_defaultDelayEdit, &QLineEdit::editingFinished, this, [this] {
        m_defaultDelayEdit->setText(QString::number(editorSettings().DefaultDelay));
    });
    connect(m_loopTimeEdit, &QLineEdit::editingFinished, this,
            [this] { m_loopTimeEdit->setText(QString::number(editorSettings().LoopTime)); });
    connect(m_loopTimeEdit, &QLineEdit::textChanged, this, &MacroDialog::LoopTimeChanged);
}

void MacroDialog::placeCommandRows() {
    const struct {
        KelPushButton *button;
        int row;
        bool wide;
    } commands[] = {{m_deleteRowBtn, 0, false}, {m_upBtn, 0, false},         {m_downBtn, 0, false},
                    {m_topBtn, 0, false},       {m_bottomBtn, 0, false},     {m_clearBtn, 0, false},
                    {m_editBtn, 1, false},      {m_insertDelayBtn, 1, true}, {m_copyBtn, 1, false},
                    {m_cutBtn, 1, false},       {m_pasteBtn, 1, false}};
    int x[2] = {kCommandX, kCommandX};
    for (const auto &c : commands) {
        const int w = c.wide ? kWideCommandW : kCommandW;
        const int y = c.row == 0 ? kCommandRow1 : kCommandRow2;
        c.button->setGeometry(scaledRect(x[c.row], y, w, kCommandH));
        x[c.row] += w + kCommandGap;
    }
}

void MacroDialog::styleTable() {
    m_table->setStyleSheet(
        QStringLiteral("QTableView{background:rgb(20,22,25);border:1px solid rgb(53,58,65);}"
                       "QHeaderView{background:rgb(20,22,25);}"
                       "QHeaderView::section{background:rgb(34,38,43);color:rgb(200,200,200);"
                       "border:0;border-right:1px solid rgb(20,22,25);padding-left:%1px;}"
                       "QTableCornerButton::section{background:rgb(34,38,43);border:0;}")
            .arg(scaled(4)) +
        macroScrollBarStyle());
    const QFont font = languageFont();
    m_table->horizontalHeader()->setFont(font);
    m_table->verticalHeader()->setFont(font);
    m_table->horizontalHeader()->setFixedHeight(scaled(24));
    m_table->verticalHeader()->setDefaultSectionSize(scaled(22));
    m_table->verticalHeader()->setMinimumWidth(scaled(28));
}

void MacroDialog::relayout() {
    m_panel->relayout();
    m_recordBtn->setGeometry(macroPlace(kRecord));
    m_recordHint->setGeometry(macroPlace(kRecordHint));
    m_table->setGeometry(macroPlace(kTable));
    placeCommandRows();
    m_options->setGeometry(macroPlace(kOptions));
    const QPoint origin = kOptions.topLeft();
    const struct {
        QWidget *widget;
        QRect place;
    } options[] = {{m_recordDelaysBox, kRecordDelays},
                   {m_defaultDelayBox, kDefaultDelay},
                   {m_defaultDelayEdit, kDefaultDelayField},
                   {m_msLabel, kDefaultDelayUnit},
                   {m_loopTimesBox, kLoopTimes},
                   {m_loopTimeEdit, kLoopTimeField},
                   {m_repeatWhileBox, kRepeatWhileDown},
                   {m_repeatUntilBox, kRepeatUntilDown}};
    for (const auto &o : options)
        o.widget->setGeometry(macroPlace(o.place.translated(-origin)));
    for (KelCheckBox *box : m_options->findChildren<KelCheckBox *>())
        box->refreshStyle();
    m_stepEditor->relayout();
    m_saveBtn->setGeometry(macroPlace(kSave));
    m_cancelBtn->setGeometry(macroPlace(kCancel));
    styleTable();
    update();
}

void MacroDialog::showHint() {
    if (m_fillingTable)
        return;
    if (m_recording && m_recorder.isFull())
        m_recordHint->setText(tr("The macro is full: further keys are not recorded. Press STOP."));
    else if (m_recording)
        m_recordHint->setText(tr("Recording: type the keys, then press STOP (or hold Esc)."));
    else if (m_editing)
        m_recordHint->setText(
            tr("Editing: press a key or type a value; Enter saves, Esc cancels."));
    else if (currentMacro().isEmpty())
        m_recordHint->setText(tr("Press NEW to make a macro first."));
    // Removing a delay can make the rows longer on the mouse (its fillers come back).
    else if (mouseMacroSteps(events()) > kMouseMacroSteps)
        m_recordHint->setText(sendableMacroSteps(events()) == 0
                                  ? tr("Too long for the mouse: it plays none of it.")
                                  : tr("Too long for the mouse: it plays only the first %n row(s).",
                                       nullptr, sendableMacroSteps(events())));
    else
        m_recordHint->setText(
            tr("Room left on the mouse: %n step(s)", nullptr, macroRoomLeft(events())));
}

void MacroDialog::retranslateUi() {
    m_panel->retranslateUi();
    m_recordBtn->setText(m_recording ? tr("STOP") : tr("START"));
    showHint();
    m_deleteRowBtn->setText(tr("DELETE"));
    // Two buttons read "DELETE" on the page: a screen reader tells which is which.
    m_deleteRowBtn->setAccessibleDescription(tr("Deletes the selected steps"));
    m_upBtn->setText(tr("MOVE UP"));
    m_downBtn->setText(tr("MOVE DOWN"));
    m_topBtn->setText(tr("TOP"));
    m_bottomBtn->setText(tr("BOTTOM"));
    m_clearBtn->setText(tr("CLEAR"));
    m_editBtn->setText(tr("EDIT"));
    m_insertDelayBtn->setText(tr("INSERT DELAY"));
    m_copyBtn->setText(tr("COPY"));
    m_cutBtn->setText(tr("CUT"));
    m_pasteBtn->setText(tr("PASTE"));
    m_recordDelaysBox->setText(tr("RECORD DELAYS BETWEEN ACTION"));
    m_defaultDelayBox->setText(tr("INSERT DEFAULT DELAY"));
    m_msLabel->setText(tr("ms"));
    m_loopTimesBox->setText(tr("LOOPS TIME(1-255)"));
    m_repeatWhileBox->setText(tr("REPEAT RUN WHEN KEY DOWN"));
    m_repeatUntilBox->setText(tr("REPEAT RUN UNTIL THE KEY DOWN"));
    m_defaultDelayEdit->setAccessibleName(tr("Default delay (ms)"));
    m_loopTimeEdit->setAccessibleName(tr("Loop count"));
    m_table->setAccessibleName(tr("Macro steps"));
    m_stepEditor->retranslateUi();
    m_saveBtn->setText(tr("SAVE"));
    m_cancelBtn->setText(tr("CANCEL"));
    m_model->setHorizontalHeaderLabels({tr("KEY"), tr("ACTION"), tr("DELAY(ms)")});
    // The cells read in the new language.
    if (m_model->rowCount() > 0)
        emit m_model->dataChanged(m_model->index(0, 0), m_model->index(m_model->rowCount() - 1, 2),
                                  {Qt::DisplayRole, Qt::AccessibleTextRole});
    m_table->viewport()->update();
}

void MacroDialog::paintEvent(QPaintEvent *) {
    // A rule between the side panel and the editor.
    QPainter painter(this);
    painter.setPen(QColor(45, 50, 56));
    const int x = scaled(kSidePanel.right());
    painter.drawLine(x, scaled(6), x, height() - scaled(6));
}

void MacroDialog::setControlsEnabled(bool on) {
    // While recording only STOP works; while editing, the table, SAVE and CANCEL.
    m_panel->setEnabled(on);
    const QList<KelPushButton *> buttons =
        findChildren<KelPushButton *>(QString(), Qt::FindDirectChildrenOnly);
    for (KelPushButton *b : buttons)
        b->setEnabled(on || (m_recording && b == m_recordBtn) ||
                      (m_editing && (b == m_saveBtn || b == m_cancelBtn)));
    m_table->setEnabled(on || m_editing);
    m_options->setEnabled(on);
}

QString MacroDialog::currentMacro() const {
    return m_panel->currentMacro();
}

bool MacroDialog::stepsUnsaved() const {
    if (m_shownName.isEmpty() || !macroFileExists(m_shownName))
        return false;
    const MacroFile shown = shownMacro();
    return shown != m_shownAsStored && shown != m_declined;
}

bool MacroDialog::hasUnsavedSteps() const {
    return !m_recording && stepsUnsaved();
}

QString MacroDialog::keepUnsavedSteps() {
    // A macro shown without steps keeps nothing worth a macro of its own (its options at most),
    // and the stored one is left as it is.
    if (!stepsUnsaved() || shownMacro().events.isEmpty())
        return QString();
    QString name = uniqueMacroName(m_shownName + QStringLiteral("_unsaved"));
    if (!fitsFileNameLimit(name))
        name = nextNewMacroName();
    const MacroFile shown = shownMacro();
    if (!saveMacroFile(name, shown)) {
        qCWarning(lcMacro, "The unsaved steps of %s could not be kept", qPrintable(m_shownName));
        return QString();
    }
    // Listed when the list has room; the file is kept either way.
    addToMacroList(name);
    m_declined = shown;
    qCDebug(lcMacro, "unsaved steps of %s kept as %s", qPrintable(m_shownName), qPrintable(name));
    return name;
}

void MacroDialog::offerToSave() {
    if (!hasUnsavedSteps())
        return;
    KelMessageBox ask(KelMessageBox::KindQuestion, tr("Warning"),
                      tr("Save the changes to the macro \"%1\"?").arg(m_shownName), QString(),
                      this);
    const MacroFile shown = shownMacro();
    if (ask.exec() != QDialog::Accepted) {
        m_declined = shown;
        return;
    }
    if (saveMacroFile(m_shownName, shown))
        m_shownAsStored = shown;
    else
        macroWarning(this, tr("The macro file could not be written."));
}

void MacroDialog::chooseMacro(const QString &name) {
    if (name != m_shownName)
        offerToSave();
    loadMacro(name);
}

void MacroDialog::loadMacro(const QString &name) {
    MacroFile file;
    loadMacroFile(name, file);
    setDelayType(file.DelayType >= 0 && file.DelayType <= 2 ? file.DelayType : 0);
    setLoopType(file.LoopType >= 0 && file.LoopType <= 3 ? file.LoopType : 0);
    m_defaultDelayEdit->setText(QString::number(file.DefaultDelay));
    m_loopTimeEdit->setText(QString::number(file.LoopTime));
    setEvents(editorEvents(file.events));
    m_shownName = name;
    m_shownAsStored = shownMacro();
    m_declined.reset();
}

MacroFile MacroDialog::shownMacro() const {
    MacroFile file = editorSettings();
    // A recording that has no step yet would give back the steps shown before it.
    file.events = m_recording && m_model->rowCount() == 0 ? m_beforeRecording : events();
    return file;
}

MacroFile MacroDialog::editorSettings() const {
    MacroFile file;
    file.DelayType = delayType();
    file.LoopType = loopType();
    file.DefaultDelay = qBound(10, m_defaultDelayEdit->text().toInt(), 65535);
    file.LoopTime = qBound(1, m_loopTimeEdit->text().toInt(), 255);
    return file;
}

bool MacroDialog::saveCurrent() {
    const QString name = currentMacro();
    if (name.isEmpty())
        return false;
    const MacroFile file = shownMacro();
    if (saveMacroFile(name, file)) {
        m_shownAsStored = file;
        return true;
    }
    macroWarning(this, tr("The macro file could not be written."));
    return false;
}

void MacroDialog::setDelayType(int type) {
    m_recordDelaysBox->setChecked(type == 1);
    m_defaultDelayBox->setChecked(type == 2);
}

int MacroDialog::delayType() const {
    return m_recordDelaysBox->isChecked() ? 1 : m_defaultDelayBox->isChecked() ? 2 : 0;
}

void MacroDialog::setLoopType(int type) {
    m_loopTimesBox->setChecked(type == 1);
    m_repeatWhileBox->setChecked(type == 2);
    m_repeatUntilBox->setChecked(type == 3);
}

int MacroDialog::loopType() const {
    if (m_loopTimesBox->isChecked())
        return 1;
    if (m_repeatWhileBox->isChecked())
        return 2;
    return m_repeatUntilBox->isChecked() ? 3 : 0;
}

void MacroDialog::DefDelayChanged(const QString &text) {
    qCDebug(lcMacro, "DefDelayChanged %s", qPrintable(text));
}

void MacroDialog::LoopTimeChanged(const QString &text) {
    qCDebug(lcMacro, "LoopTimeChanged %s", qPrintable(text));
}

void MacroDialog::checkbtn_clicked() {
    QObject *b = sender();
    if (b == m_recordBtn)
        m_recording ? stopRecording() : startRecording();
    else if (b == m_deleteRowBtn)
        deleteRows();
    else if (b == m_upBtn)
        moveRow(currentRow() - 1);
    else if (b == m_downBtn)
        moveRow(currentRow() + 1);
    else if (b == m_topBtn)
        moveRow(0);
    else if (b == m_bottomBtn)
        moveRow(m_model->rowCount() - 1);
    else if (b == m_clearBtn)
        clearTable();
    else if (b == m_editBtn)
        startEditing();
    else if (b == m_insertDelayBtn)
        insertEvents({delayEvent(10, m_unit)});
    else if (b == m_copyBtn || b == m_cutBtn)
        copyRows(b == m_cutBtn);
    else if (b == m_pasteBtn)
        insertEvents(m_clipboard);
    else if (b == m_saveBtn || b == m_cancelBtn)
        finishEditing(b == m_saveBtn);
}

void MacroDialog::finishEditing(bool save) {
    // Cancelled, the steps go back to what they were when editing began: steps inserted
    // before, and not yet saved, stay.
    // A key or button left held would stay down on the computer after the macro plays: said,
    // as at the end of a recording.
    if (save && hasUnreleasedKeys(events()))
        macroWarning(this, tr("ONE OR MORE KEYS HAS NOT BEEN RELEASED."));
    if (save)
        saveCurrent();
    else if (m_editing)
        setEvents(std::exchange(m_beforeEditing, {}));
    else
        loadMacro(currentMacro());
    if (m_editing)
        stopEditing();
}
