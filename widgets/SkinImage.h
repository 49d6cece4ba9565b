#pragma once
// Skin pictures are decoded here rather than through QImageReader alone. QImageReader asks
// every installed image format plugin whether it reads PNG before it uses its own reader,
// which loads all of them (and their libraries) on the first picture; and it decodes a PNG
// with transparency to straight alpha and then converts the whole picture to the
// premultiplied form the screen uses, holding both at once. Here a PNG is read with libpng
// straight into that form.
//
// Every PNG loaded by file name (QPixmap(path), QPixmap::load, style sheet images) comes here
// through a reader registered for the "png" suffix; pictures without a suffix (":/yes_Btn")
// and icons are read with the functions below.
#include <QIcon>
#include <QImage>
#include <QPixmap>

class QIODevice;

// A PNG whose width or height exceeds this is refused: no picture of ours comes near it.
constexpr int kSkinImageMaxSide = 8192;

// The PNG on the device decoded to ARGB32_Premultiplied (RGB32 when it has no transparency);
// null if it is not a whole, readable PNG of 8 bits a channel or fewer without gamma or
// colour space chunks (those are left to QImage, which reads them as it always has).
QImage readPngImage(QIODevice *device);
// The picture at the path: a PNG is decoded as above, anything else by QImage.
QImage readSkinImage(const QString &path);
QPixmap readSkinPixmap(const QString &path);
// A Windows icon file whose images are PNG or 32-bit bitmaps, keeping the images no larger
// than maxSide; any other picture file becomes a one-image icon. Null if nothing is readable.
QIcon readSkinIcon(const QString &path, int maxSide = 256);
// The icon of a compiled-in picture (":/yes_Btn"), or no icon when it does not exist.
QIcon resourceIcon(const QString &name);
