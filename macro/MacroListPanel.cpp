// SPDX-License-Identifier: GPL-3.0-or-later
#include "MacroListPanel.h"
#include "MacroLog.h"

#include "AppConfig.h"
#include "FocusMark.h"
#include "InterfaceColour.h"
#include "KelCheckBox.h"
#include "KelGunsetDialog.h"
#include "KelLabel.h"
#include "KelLineEdit.h"
#include "KelMessageBox.h"
#include "KelPushButton.h"
#include "KelTreeWidget.h"
#include "LanguageFont.h"
#include "MacroLayout.h"
#include "MacroList.h"
#include "MacroWidgets.h"
#include "Scale.h"

#include <QFileDialog>
#include <QListWidget>

using namespace MacroLayout;

MacroListPanel::MacroListPanel(QWidget *parent) : QWidget(parent) {
    m_mouseActionBtn = macroButton(this, "macroMouseActionBtn");
    m_mouseActionBtn->setToggleMode(true);
    m_title = macroLabel(this);
    m_batchBox = macroCheckBox(this, "macroBatchBox");
    connect(m_batchBox, &QCheckBox::toggled, this, &MacroListPanel::setBatch);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("macroList"));
    // As the step table: by Tab only, so that a click leaves the keys where they are.
    m_list->setFocusPolicy(Qt::TabFocus);
    markFocusOf(m_list);
    connect(m_list, &QListWidget::currentRowChanged, this, [this] {
        if (m_loading)
            return;
        // The name field names the macro CHANGE NAME renames.
        m_nameEdit->setText(currentMacro());
        emit macroChosen(currentMacro());
    });
    m_tree = new KelTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("macroCommandTree"));
    m_tree->hide();
    m_nameLabel = macroLabel(this);
    m_nameEdit = macroField(this, "macroNameEdit", 100);
    m_nameLabel->setBuddy(m_nameEdit);
    m_changeNameBtn = macroButton(this, "macroChangeNameBtn");
    m_newBtn = macroButton(this, "macroNewBtn");
    m_deleteBtn = macroButton(this, "macroDeleteBtn");
    m_gunSetBtn = macroButton(this, "macroGunSetBtn");
    m_importBtn = macroButton(this, "macroImportBtn");
    m_exportBtn = macroButton(this, "macroExportBtn");
    for (KelPushButton *b : {m_mouseActionBtn, m_changeNameBtn, m_newBtn, m_deleteBtn, m_gunSetBtn,
                             m_importBtn, m_exportBtn})
        connect(b, &QPushButton::clicked, this, &MacroListPanel::onButton);
}

QString MacroListPanel::currentMacro() const {
    const QListWidgetItem *item = m_list->currentItem();
    return item ? item->text() : QString();
}

bool MacroListPanel::showsTree() const {
    return !m_tree->isHidden();
}

void MacroListPanel::reload(const QString &select) {
    const QString shown = currentMacro();
    m_loading = true;
    m_list->clear();
    const QStringList names = macroListNames();
    for (const QString &name : names) {
        auto *item = new QListWidgetItem(name, m_list);
        if (m_batch)
            item->setCheckState(Qt::Unchecked);
    }
    m_list->setCurrentRow(names.contains(select) ? names.indexOf(select)
                          : names.isEmpty()      ? -1
                                                 : 0);
    m_loading = false;
    m_nameEdit->setText(currentMacro());
    // The editor keeps its steps while the same macro stays selected.
    if (currentMacro() != shown || shown.isEmpty())
        emit macroChosen(currentMacro());
}

void MacroListPanel::onButton() {
    QObject *b = sender();
    if (b == m_newBtn)
        newMacro();
    else if (b == m_deleteBtn)
        deleteCurrent();
    else if (b == m_changeNameBtn)
        renameCurrent();
    else if (b == m_importBtn)
        importPressed();
    else if (b == m_exportBtn)
        exportPressed();
    else if (b == m_gunSetBtn)
        gunSetPressed();
    else if (b == m_mouseActionBtn)
        showTree(!showsTree());
}

void MacroListPanel::showTree(bool on) {
    m_tree->setVisible(on);
    m_list->setVisible(!on);
    m_batchBox->setVisible(!on);
    m_mouseActionBtn->setChecked(on);
    m_title->setText(on ? tr("MOUSE COMMAND") : tr("MACRO LIST"));
}

void MacroListPanel::setBatch(bool on) {
    // In batch mode every macro carries a check box that chooses it for export.
    m_batch = on;
    for (int i = 0; i < m_list->count(); ++i) {
        if (on)
            m_list->item(i)->setCheckState(Qt::Unchecked);
        else
            m_list->item(i)->setData(Qt::CheckStateRole, QVariant());
    }
}

void MacroListPanel::newMacro() {
    QString name;
    switch (createMacro(name)) {
    case MacroListDone:
        reload(name);
        return;
    case MacroListFull:
        macroWarning(this, tr("TOO MANY MACROS TO BE CREATE!"));
        return;
    default:
        macroWarning(this, tr("The macro file could not be written."));
        return;
    }
}

void MacroListPanel::deleteCurrent() {
    const QString name = currentMacro();
    if (name.isEmpty())
        return;
    // A button bound to the macro would play nothing (or, once the name is used again,
    // another macro).
    if (m_boundCheck && m_boundCheck(name)) {
        KelMessageBox ask(KelMessageBox::KindQuestion, tr("Warning"),
                          tr("A button plays the macro \"%1\". Delete it anyway?").arg(name),
                          QString(), this);
        if (ask.exec() != QDialog::Accepted)
            return;
    }
    const int row = m_list->currentRow();
    if (deleteMacro(name) != MacroListDone) {
        macroWarning(this, tr("The macro could not be deleted."));
        return;
    }
    const QStringList names = macroListNames();
    reload(names.value(qMin(row, names.size() - 1)));
}

void MacroListPanel::renameCurrent() {
    const QString from = currentMacro();
    if (from.isEmpty())
        return;
    QString to;
    const MacroListResult result = renameMacro(from, m_nameEdit->text(), to);
    if (result != MacroListDone) {
        QString text = tr("The macro file could not be renamed.");
        if (result == MacroListBadName)
            text = tr("A macro name cannot be empty or contain / or \\.");
        else if (result == MacroListTooLong)
            text = tr("This name is too long for a macro.");
        macroWarning(this, text);
        m_nameEdit->setText(from);
        return;
    }
    m_list->currentItem()->setText(to);
    m_nameEdit->setText(to);
    if (to != from)
        emit MacroRenamed(from, to);
}

void MacroListPanel::importPressed() {
    const QString title = tr("Load Macro File");
    const QString filter = tr("Macro File(*.MSMACRO)");
    if (m_batch)
        importFiles(QFileDialog::getOpenFileNames(this, title, QString(), filter));
    else
        importFiles({QFileDialog::getOpenFileName(this, title, QString(), filter)});
}

void MacroListPanel::importFiles(const QStringList &paths) {
    if (paths.isEmpty() || paths.first().isEmpty())
        return;
    if (m_batch) {
        const int left = paths.size() - importMacros(paths).size();
        reload(currentMacro());
        if (left > 0)
            macroWarning(this, tr("%n of the chosen files were not imported: a macro of that name "
                                  "exists already, the name is not allowed or too long, the file "
                                  "cannot be copied, or the macro list is full.",
                                  nullptr, left));
        return;
    }
    QString name;
    switch (importMacro(paths.first(), name)) {
    case MacroListDone:
        reload(name);
        return;
    case MacroListExists:
        macroWarning(this, tr("Macro Exist!"));
        return;
    case MacroListFull:
        macroWarning(this, tr("TOO MANY MACROS TO BE CREATE!"));
        return;
    case MacroListBadName:
        macroWarning(this, tr("A macro name cannot be empty or contain / or \\."));
        return;
    case MacroListTooLong:
        macroWarning(this, tr("This name is too long for a macro."));
        return;
    case MacroListFileError:
        macroWarning(this, tr("The macro file could not be copied."));
        return;
    }
}

void MacroListPanel::exportPressed() {
    emit aboutToExport();
    const QString title = tr("Save Macro File");
    if (m_batch) {
        exportBatchTo(QFileDialog::getExistingDirectory(this, title, QStringLiteral("./"),
                                                        QFileDialog::ShowDirsOnly));
    } else if (!currentMacro().isEmpty()) {
        exportTo(QFileDialog::getSaveFileName(
            this, title, currentMacro() + QStringLiteral(".MSMACRO"), tr("Macro File(*.MSMACRO)")));
    }
}

void MacroListPanel::exportTo(const QString &target) {
    if (target.isEmpty() || currentMacro().isEmpty())
        return;
    if (exportMacro(currentMacro(), target) != MacroListDone)
        macroWarning(this, tr("The macro file could not be copied."));
}

void MacroListPanel::exportBatchTo(const QString &folder) {
    if (folder.isEmpty())
        return;
    QStringList names;
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->checkState() == Qt::Checked)
            names << m_list->item(i)->text();
    }
    const int left = names.size() - exportMacros(names, folder);
    if (left > 0)
        macroWarning(this, tr("%1 of the chosen macros were not exported: a file of that name is "
                              "in the folder already, or the folder cannot be written.")
                               .arg(left));
}

void MacroListPanel::gunSetPressed() {
    if (macroCount() >= kMacroListSize) {
        macroWarning(this, tr("TOO MANY MACROS TO BE CREATE!"));
        return;
    }
    KelGunsetDialog dialog(this, scaleFactor());
    if (dialog.exec() == QDialog::Accepted)
        addGunFile(dialog);
}

void MacroListPanel::addGunFile(KelGunsetDialog &dialog) {
    const QString name = uniqueMacroName(dialog.fileName());
    // The dialog took a name that fits; the suffix that makes it free may not.
    if (!fitsFileNameLimit(name)) {
        macroWarning(this, tr("This name is too long for a macro."));
        return;
    }
    qCDebug(lcMacro, "%s", qPrintable(macroFilePath(name)));
    if (!dialog.writeGunFile(name)) {
        macroWarning(this, tr("The macro file could not be written."));
        return;
    }
    const MacroListResult listed = listNewFile(name);
    if (listed != MacroListDone) {
        macroWarning(this, listed == MacroListFull ? tr("TOO MANY MACROS TO BE CREATE!")
                                                   : tr("The macro file could not be written."));
        return;
    }
    reload(name);
}

void MacroListPanel::retranslateUi() {
    m_mouseActionBtn->setText(tr("MOUSE ACTION"));
    m_title->setText(showsTree() ? tr("MOUSE COMMAND") : tr("MACRO LIST"));
    m_batchBox->setText(tr("BATCH"));
    m_nameLabel->setText(tr("MACRO NAME"));
    m_changeNameBtn->setText(tr("CHANGE NAME"));
    m_newBtn->setText(tr("NEW"));
    m_deleteBtn->setText(tr("DELETE"));
    m_deleteBtn->setAccessibleDescription(tr("Deletes the selected macro"));
    m_gunSetBtn->setText(tr("GUN SET"));
    m_importBtn->setText(tr("IMPORT"));
    m_exportBtn->setText(tr("EXPORT"));
    m_list->setAccessibleName(tr("Macros"));
    m_tree->setAccessibleName(tr("Mouse commands"));
    m_tree->retranslateUi();
}

void MacroListPanel::relayout() {
    setGeometry(macroPlace(kSidePanel));
    m_mouseActionBtn->setGeometry(macroPlace(kMouseAction));
    m_title->setGeometry(macroPlace(kPanelTitle));
    m_batchBox->setGeometry(macroPlace(kBatch));
    m_list->setGeometry(macroPlace(kPanel));
    m_tree->setGeometry(macroPlace(kPanel));
    m_nameLabel->setGeometry(macroPlace(kNameLabel));
    m_nameEdit->setGeometry(macroPlace(kNameField));
    m_changeNameBtn->setGeometry(macroPlace(kChangeName));
    m_newBtn->setGeometry(macroPlace(kNew));
    m_deleteBtn->setGeometry(macroPlace(kDeleteMacro));
    m_gunSetBtn->setGeometry(macroPlace(kGunSet));
    m_importBtn->setGeometry(macroPlace(kImport));
    m_exportBtn->setGeometry(macroPlace(kExport));
    m_batchBox->refreshStyle();
    m_tree->relayout();
    const QColor accent = interfaceColour();
    m_list->setStyleSheet(
        QStringLiteral("QListWidget{background:rgb(20,22,25);border:1px solid rgb(53,58,65);"
                       "color:rgb(225,225,225);outline:0;}"
                       "QListWidget::item{height:%1px;padding-left:%2px;border:0;}"
                       "QListWidget::item:selected{background:rgba(%3,%4,%5,110);color:white;"
                       "padding-left:%2px;border:0;}")
            .arg(scaled(24))
            .arg(scaled(4))
            .arg(accent.red())
            .arg(accent.green())
            .arg(accent.blue()) +
        macroScrollBarStyle());
    m_list->setFont(languageFont());
}
