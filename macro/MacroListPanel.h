// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The side panel of the macro page: the macro list with its commands (new, delete, change
// name, import, export, gun set) or, switched by "MOUSE ACTION", the command tree that
// inserts mouse steps. The list is Config.ini's MACRO_LIST; each name has its file.

#include <QWidget>
#include <functional>

class KelCheckBox;
class KelGunsetDialog;
class KelLabel;
class KelLineEdit;
class KelPushButton;
class KelTreeWidget;
class QListWidget;

class MacroListPanel : public QWidget {
    Q_OBJECT

public:
    explicit MacroListPanel(QWidget *parent = nullptr);

    // The macro selected ("" for none).
    QString currentMacro() const;
    // Reads the list again and selects `select` (or the first name); the editor is told only
    // when the selection moved to another macro.
    void reload(const QString &select);
    KelTreeWidget *tree() const { return m_tree; }
    // Tells whether a button is bound to a macro: deleting such a macro is asked first.
    void setBoundCheck(std::function<bool(const QString &)> check) {
        m_boundCheck = std::move(check);
    }
    bool showsTree() const;
    bool isBatch() const { return m_batch; }

    // What the import and export buttons do once their file dialog has been answered.
    void importFiles(const QStringList &paths);
    void exportTo(const QString &target);
    void exportBatchTo(const QString &folder);
    // Writes the gun file of an accepted gun-set dialog, lists it and selects it.
    void addGunFile(KelGunsetDialog &dialog);

    void retranslateUi();
    void relayout();

signals:
    // Another macro is selected (or the selected one must be shown again).
    void macroChosen(const QString &name);
    void MacroRenamed(const QString &from, const QString &to);
    // An export copies the stored files: the steps shown and not yet saved are asked about
    // first.
    void aboutToExport();

private:
    void onButton();
    void showTree(bool on);
    void setBatch(bool on);
    void newMacro();
    void deleteCurrent();
    void renameCurrent();
    void importPressed();
    void exportPressed();
    void gunSetPressed();

    bool m_batch = false;
    bool m_loading = false;
    KelPushButton *m_mouseActionBtn = nullptr;
    KelLabel *m_title = nullptr;
    KelCheckBox *m_batchBox = nullptr;
    QListWidget *m_list = nullptr;
    KelTreeWidget *m_tree = nullptr;
    KelLabel *m_nameLabel = nullptr;
    KelLineEdit *m_nameEdit = nullptr;
    KelPushButton *m_changeNameBtn = nullptr;
    KelPushButton *m_newBtn = nullptr;
    KelPushButton *m_deleteBtn = nullptr;
    KelPushButton *m_gunSetBtn = nullptr;
    KelPushButton *m_importBtn = nullptr;
    KelPushButton *m_exportBtn = nullptr;
    std::function<bool(const QString &)> m_boundCheck;
};
