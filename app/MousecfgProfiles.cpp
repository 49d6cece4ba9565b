// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's profile commands: the slots, the library of named profiles with its
// menu, and the profile and configuration files. The rules live in storage (each command
// answers with a result code); here the user is asked and told, and the pages follow.
#include "AppConfig.h"
#include "AppLog.h"
#include "CommandBar.h"
#include "KelLineEdit.h"
#include "KelMenu.h"
#include "KelMessageBox.h"
#include "KelPushButton.h"
#include "ModelDescriptor.h"
#include "MousecfgWidget.h"
#include "ProfileData.h"
#include "ProfileFiles.h"
#include "ProfileLibrary.h"

#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

void MousecfgWidget::loadLibrary() {
    m_library = readProfileLibrary();
    // The slots' profiles are always in the library, so that a fresh installation lists
    // the five profiles it starts with.
    const ProfileSet &w = m_working;
    const int before = m_library.size();
    addToProfileLibrary(m_library, QStringList(w.profileNames, w.profileNames + kProfileCount));
    if (m_library.size() != before)
        writeProfileLibrary(m_library);
    rebuildLibraryMenu();
}

void MousecfgWidget::rebuildLibraryMenu() {
    m_libraryMenu->clear();
    for (int i = 0; i < m_library.size(); ++i) {
        // The entry carries its position: a name with '&' or one past the first 200 is
        // found all the same.
        auto *action = new KelAction(m_library[i], m_libraryMenu, i);
        m_libraryMenu->addAction(action);
    }
    m_libraryBtn->setMenu(m_libraryMenu);
}

void MousecfgWidget::onLibraryChosen(QAction *action) {
    auto *entry = qobject_cast<KelAction *>(action);
    if (!entry || entry->id() < 0 || entry->id() >= m_library.size())
        return;
    ProfileSet &w = m_working;
    keepPageEdits();
    const int slot = w.activeIndex();
    const QString model = currentProductName();
    const QString name = w.profileNames[slot];
    const QString chosen = m_library[entry->id()];
    // The answer was given to what was shown: a plug event or a command meanwhile may have
    // changed it.
    if (!mayDropSlotEdits(slot) || currentProductName() != model || w.activeIndex() != slot ||
        w.profileNames[slot] != name)
        return;
    const int result = chooseLibraryProfile(w, slot, chosen);
    if (showLibraryResult(result)) {
        saveSlotNames(true);
        refreshPages();
    }
}

void MousecfgWidget::saveSlotNames(bool settingsChanged) {
    saveProfileList(m_working);
    if (settingsChanged)
        markNextSendWhole();
}

bool MousecfgWidget::showLibraryResult(int result) {
    QString text;
    switch (result) {
    case LibraryDone:
        return true;
    case LibraryUnchanged:
        return false;
    case LibraryNoModel:
        text = tr("No mouse is connected.");
        break;
    case LibraryUnsafeName:
        text = tr("This name cannot be used for a profile.");
        break;
    case LibraryTooLong:
        text = tr("This name is too long for a profile.");
        break;
    case LibraryExists:
        text = tr("Profile Exist!");
        break;
    case LibraryInUse:
        text = tr("Profile is Already Used!");
        break;
    case LibraryLastProfile:
        text = tr("AT LEAST ONE PROFILE TO BE RETAINED.");
        break;
    case LibraryDefaultName:
        text = tr("The default Profile cannot be deleted or renamed.");
        break;
    case LibraryWrongModel:
        text = tr("The file is not match current mouse!");
        break;
    case LibraryIncomplete:
        text = tr("The file is incomplete (cut short or damaged); nothing was imported.");
        break;
    case LibraryNotFound:
        text = tr("The file does not exist.");
        break;
    case LibraryIsFolder:
        text = tr("This is a folder, not a file.");
        break;
    case LibraryWrongKind:
        text = tr("Only profile files (.prof) and configuration files (.conf) can be imported.");
        break;
    case LibraryTooLarge:
        text = tr("The file is too large to be a profile or configuration file.");
        break;
    case LibraryUnreadable:
        text = tr("The file cannot be read.");
        break;
    case LibraryNotProfile:
        text = tr("The file is not a profile or configuration file.");
        break;
    case LibraryNoFolder:
        text = tr("The folder to save in does not exist.");
        break;
    default:
        text = tr("The profile file could not be written.");
        break;
    }
    notice(text);
    return false;
}

void MousecfgWidget::notice(const QString &text) {
    KelMessageBox box(KelMessageBox::KindWarning, tr("Warning"), text, QString(), this);
    box.exec();
}

bool MousecfgWidget::confirm(const QString &text) {
    KelMessageBox box(KelMessageBox::KindQuestion, tr("Warning"), text, QString(), this);
    return box.exec() == QDialog::Accepted;
}

bool MousecfgWidget::slotEditsUnsent(int slot) const {
    const ProfileData &shown = m_working.profiles[slot];
    ProfileData stored;
    loadProfileByName(stored, m_working.profileNames[slot]);
    stored.ProfileName = shown.ProfileName;
    stored.ProfilePath = shown.ProfilePath;
    // The desktop's speed, read into the slot at start, is no edit.
    stored.mousespeed = shown.mousespeed;
    return stored != shown;
}

bool MousecfgWidget::mayDropSlotEdits(int slot) {
    return !slotEditsUnsent(slot) ||
           confirm(tr("The changes to this profile have not been applied and will be lost. "
                      "Go on?"));
}

bool MousecfgWidget::mayDropAllEdits() {
    for (int slot = 0; slot < kProfileCount; ++slot) {
        if (slotEditsUnsent(slot))
            return confirm(tr("The changes to the profiles have not been applied and will be "
                              "lost. Go on?"));
    }
    return true;
}

QString MousecfgWidget::askFileName(bool save, const QString &caption, const QString &filter,
                                    const QString &suffix, const QString &suggested) {
    QFileDialog dialog(this, caption, m_fileFolder.isEmpty() ? QDir::homePath() : m_fileFolder,
                       filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(suffix);
    if (!suggested.isEmpty())
        dialog.selectFile(suggested + QLatin1Char('.') + suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    const QString path = dialog.selectedFiles().first();
    m_fileFolder = QFileInfo(path).absolutePath();
    return path;
}

void MousecfgWidget::slotProfileNameChange() {
    ProfileSet &w = m_working;
    const int slot = w.activeIndex();
    // Spaces at either end would make two names that look alike in the menu.
    const QString typed = m_nameEdit->text().trimmed();
    // A name longer than the field holds (a copy's, an import's) shows cut: Enter on it as
    // shown is no rename to the cut name.
    if (typed == w.profileNames[slot].left(m_nameEdit->maxLength()).trimmed()) {
        m_nameEdit->setText(w.profileNames[slot]);
        return;
    }
    const int result = renameLibraryProfile(m_library, w, slot, typed);
    // A refused name leaves the field showing the slot's name again.
    m_nameEdit->setText(w.profileNames[slot]);
    if (showLibraryResult(result))
        rebuildLibraryMenu();
}

void MousecfgWidget::profileCommand(int command) {
    ProfileSet &w = m_working;
    const int slot = w.activeIndex();
    // The name field may hold a name typed but not confirmed: commands act on the slot's.
    m_nameEdit->setText(w.profileNames[slot]);

    // What the pages show unsent is taken first: it outlives a command on one slot (the
    // settings shared by all slots, the other slots' edits), and goes into what is saved.
    keepPageEdits();

    // While a question or a file dialog is open, a plug event or another program's command
    // may bring another model's profiles or another profile into the slot: the answer was
    // given to what was shown, and nothing is done to what replaced it.
    const QString model = currentProductName();
    const QString name = w.profileNames[slot];
    const auto stillShown = [this, model, name, slot] {
        return currentProductName() == model && m_working.profileNames[slot] == name;
    };

    switch (command) {
    case CommandBar::Add: {
        if (!mayDropSlotEdits(slot) || !stillShown())
            return;
        if (showLibraryResult(addLibraryProfile(m_library, w, slot))) {
            saveSlotNames(true);
            rebuildLibraryMenu();
            refreshPages();
        }
        break;
    }
    case CommandBar::Delete: {
        if (!showLibraryResult(checkDeleteLibraryProfile(m_library, w, slot)))
            return;
        if (!confirm(tr("Are you sure you want delete this profile?")) || !stillShown())
            return;
        if (showLibraryResult(deleteLibraryProfile(m_library, w, slot))) {
            saveSlotNames(true);
            rebuildLibraryMenu();
            refreshPages();
        }
        break;
    }
    case CommandBar::Copy: {
        // The copy holds what the slot held: the mouse needs nothing new.
        if (showLibraryResult(copyLibraryProfile(m_library, w, slot))) {
            saveSlotNames(false);
            rebuildLibraryMenu();
            refreshPages();
        }
        break;
    }
    case CommandBar::Reset: {
        if (!confirm(tr("Are you sure you want reset this profile?")) || !stillShown())
            return;
        qCDebug(lcApp, "Accepted %d", slot);
        makeDefaultProfile(w.profiles[slot]);
        w.profiles[slot].ProfileName = w.profileNames[slot];
        refreshPages();
        send();
        break;
    }
    case CommandBar::ResetAll: {
        if (!confirm(tr("Are you sure you want reset all profiles?")) ||
            currentProductName() != model)
            return;
        resetAllProfiles();
        break;
    }
    case CommandBar::Export: {
        const QString path = askFileName(true, tr("Save Profile File"), tr("Profile File(*.prof)"),
                                         QStringLiteral("prof"), w.profileNames[slot]);
        if (!path.isEmpty() && stillShown())
            showLibraryResult(exportProfileFile(w, slot, path));
        break;
    }
    case CommandBar::Import: {
        const QString path = askFileName(false, tr("Load Profile File"), tr("Profile File(*.prof)"),
                                         QStringLiteral("prof"));
        if (path.isEmpty() || !stillShown() || !mayDropSlotEdits(slot) || !stillShown())
            return;
        if (showLibraryResult(importProfileFile(m_library, w, slot, path))) {
            rebuildLibraryMenu();
            refreshPages();
            send();
        }
        break;
    }
    case CommandBar::SaveConfig: {
        const QString path = askFileName(true, tr("Save Config File"), tr("Config File(*.conf)"),
                                         QStringLiteral("conf"), model);
        if (!path.isEmpty() && currentProductName() == model)
            showLibraryResult(saveConfigFile(w, path));
        break;
    }
    case CommandBar::LoadConfig: {
        const QString path = askFileName(false, tr("Load Config File"), tr("Config File(*.conf)"),
                                         QStringLiteral("conf"));
        if (path.isEmpty() || currentProductName() != model || !mayDropAllEdits() ||
            currentProductName() != model)
            return;
        loadConfiguration(path);
        break;
    }
    default:
        break;
    }
}

void MousecfgWidget::resetAllProfiles() {
    ProfileSet &w = m_working;
    // Every slot goes back to the model's defaults under its default name; the profiles
    // of the library stay on disk.
    resetProfileSet(w);
    for (int i = 0; i < kProfileCount; ++i) {
        if (i > 0)
            makeDefaultProfile(w.profiles[i]);
        w.profiles[i].ProfileName = w.profileNames[i];
    }
    addToProfileLibrary(m_library, QStringList(w.profileNames, w.profileNames + kProfileCount));
    writeProfileLibrary(m_library);
    rebuildLibraryMenu();
    saveActiveProfileId(w.activeIndex());
    refreshPages();
    send(true);
}

void MousecfgWidget::loadConfiguration(const QString &path) {
    ProfileSet &w = m_working;
    int refused = 0;
    if (!showLibraryResult(loadConfigFile(m_library, w, path, &refused)))
        return;
    // The pages show the loaded set before any box: a slot switch while it is open takes in
    // what they show.
    rebuildLibraryMenu();
    refreshPages();
    // The loaded set goes to the mouse before the notice: the files hold it as not sent yet
    // only once the send has begun.
    send(false, true, [this, refused](int, bool) {
        if (refused > 0)
            notice(tr("A profile name in the file cannot be used as a file name or is given to "
                      "two slots; that profile was renamed."));
    });
}

void MousecfgWidget::dropUnsentEdits() {
    // Every slot goes back to what its file holds, and the mouse-wide options to what is
    // stored with them: what was last applied (also an Apply the mouse did not take, asleep,
    // which goes at the next send) or imported.
    ProfileSet &w = m_working;
    for (int i = 0; i < kProfileCount; ++i) {
        loadProfileByName(w.profiles[i], w.profileNames[i]);
        w.profiles[i].ProfileName = w.profileNames[i];
    }
    loadSensorOptions(w);
    refreshPages();
}
