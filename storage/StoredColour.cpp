#include "StoredColour.h"

#include <QDataStream>

QColor storedColour(const QVariant &value) {
    // What Qt can turn into a colour (a colour name, a brush) is turned into one by Qt, so
    // that no damaged colour is copied out before it is checked.
    QVariant colour = value;
    if (colour.userType() != QMetaType::QColor &&
        (!colour.canConvert<QColor>() || !colour.convert(QMetaType::QColor)))
        return QColor();
    // The kind is looked at in the serialised form (type, null flag, then the colour with
    // its kind first), written by Qt itself, before the value is copied out.
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << colour;
    }
    const int spec = bytes.size() > 5 ? qint8(bytes[5]) : -1;
    if (spec < int(QColor::Invalid) || spec > int(QColor::ExtendedRgb))
        return QColor();
    return colour.value<QColor>();
}
