// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Languages the installation offers (Config.ini "FONT_LIST") and the user's choice
// (LangConfig.ini).

#include <QString>

constexpr int kMaxLanguages = 10;

struct LanguageList {
    int count = 0; // as configured; at most kMaxLanguages entries are read
    QString names[kMaxLanguages];
    QString files[kMaxLanguages];
};

struct FontChoice {
    QString family;
    unsigned size = 0;
};

// <app dir>/Configs/LangConfig.ini
QString langConfigPath();
// <app dir>/lang/<file>.qm of a language, or empty when the number names no language.
QString translationPath(const LanguageList &list, int language);

void readLanguageList(LanguageList &list);
int readLanguageId();
void writeLanguageId(int language);
FontChoice fontFor(int language);
