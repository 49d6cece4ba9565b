// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Skin pictures read through QImageReader with their format named and format detection off.
// Detection asks every installed image format plugin whether it reads the file, which loads
// all of them (and their libraries) on the first picture; named, a PNG goes to Qt's built-in
// reader and an icon file to the ico plugin alone.
//
// QPixmap(path), QIcon(path) and style sheet images still detect, and the first of them
// loads every image plugin; readSkinPixmap takes the place of QPixmap(path) without that.
#include <QIcon>
#include <QImage>
#include <QPixmap>

// A file of the installed skin: the program's folder, "skin/", then the relative path.
QString skinPath(const QString &relative);
// The states of a skinned button, "<stem>-1.png" to "<stem>-<count>.png" in the skin, each
// as skinPath gives it.
QStringList skinStates(const QString &stem, int count);

// A picture whose width or height exceeds this is refused before it is decoded: no picture
// of ours comes near it.
constexpr int kSkinImageMaxSide = 8192;

// The picture at the path in the form the screen draws: ARGB32_Premultiplied with
// transparency, RGB32 without. A PNG is told by its first bytes (compiled-in pictures such as
// ":/yes_Btn" have no suffix), anything else by its suffix. Null if it cannot be read.
QImage readSkinImage(const QString &path);
// The same as a pixmap, shared through QPixmapCache as QPixmap(path) shares it.
QPixmap readSkinPixmap(const QString &path);
// A Windows icon file, keeping the images no larger than maxSide; any other picture file
// becomes a one-image icon. Null if nothing is readable. The ico plugin decodes an icon's PNG
// images (ours: the 256-pixel one) with detection on, so asking for those loads every image
// plugin; the window asks for the smaller sizes only.
QIcon readSkinIcon(const QString &path, int maxSide = 256);
// The icon of a compiled-in picture (":/yes_Btn"), or no icon when it does not exist.
QIcon resourceIcon(const QString &name);
