// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's language button and menu: the languages the installation lists, the one saved
// last, and the translation catalogue installed for it.

#include "LanguageConfig.h"

#include <QObject>

class KelMenu;
class KelPushButton;
class QAction;
class QTranslator;
class QWidget;

class LanguageChooser : public QObject {
    Q_OBJECT

public:
    // Reads the list and the saved language, and installs its catalogue where there is a
    // choice of languages; the button is the window's child, hidden without a choice.
    explicit LanguageChooser(QWidget *window);

    int language() const { return m_language; }
    KelPushButton *button() const { return m_button; }
    void relayout();
    // The button shows the current language's name and is named "Language".
    void retranslateUi();

signals:
    // The user chose a language, and its catalogue is installed: the texts follow.
    void languageChanged();

private:
    void choose(QAction *action);
    // The button shows a language's name.
    void showLanguage(const QString &name);
    // Installs the catalogue of a language; false (and the installed one stays) when it does
    // not load.
    bool loadTranslation(int language);

    LanguageList m_languages;
    int m_language = 0;
    QTranslator *m_translator = nullptr;
    KelPushButton *m_button = nullptr;
    KelMenu *m_menu = nullptr;
};
