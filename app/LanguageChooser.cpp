// SPDX-License-Identifier: GPL-3.0-or-later
#include "LanguageChooser.h"

#include "KelMenu.h"
#include "KelPushButton.h"
#include "KeyTable.h"
#include "MainLayout.h"
#include "Scale.h"
#include "SkinImage.h"

#include <QCoreApplication>
#include <QTranslator>

#include <memory>

LanguageChooser::LanguageChooser(QWidget *window) : QObject(window) {
    m_language = readLanguageId();
    setCurrentLanguage(m_language);
    readLanguageList(m_languages);

    m_button = new KelPushButton({skinPath(QStringLiteral("lang.png"))}, window);
    m_menu = new KelMenu(window);
    for (int i = 0; i < qMin(m_languages.count, kMaxLanguages); ++i)
        m_menu->addAction(m_languages.names[i])->setData(i);
    connect(m_menu, &QMenu::triggered, this, &LanguageChooser::choose);
    m_button->setMenu(m_menu);
    if (m_languages.count < 2)
        m_button->hide();
    else
        loadTranslation(m_language);
}

void LanguageChooser::relayout() {
    m_button->setGeometry(scaledRect(MainLayout::kLanguageButton));
}

void LanguageChooser::retranslateUi() {
    if (m_language >= 0 && m_language < kMaxLanguages)
        showLanguage(m_languages.names[m_language]);
    m_button->setAccessibleName(tr("Language"));
}

void LanguageChooser::showLanguage(const QString &name) {
    m_button->setText(name);
    // A screen reader says "Language", then which one.
    m_button->setAccessibleDescription(name);
}

void LanguageChooser::choose(QAction *action) {
    m_language = action->data().toInt();
    const bool loaded = loadTranslation(m_language);
    setCurrentLanguage(m_language);
    showLanguage(action->text());
    writeLanguageId(m_language);
    if (loaded)
        emit languageChanged();
}

bool LanguageChooser::loadTranslation(int language) {
    const QString path = translationPath(m_languages, language);
    auto next = std::make_unique<QTranslator>(this);
    if (path.isEmpty() || !next->load(path))
        return false;
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator);
        delete m_translator;
    }
    m_translator = next.release();
    QCoreApplication::installTranslator(m_translator);
    return true;
}
