#include "StoredColour.h"

#include <QDataStream>

QColor storedColour(const QVariant &value) {
    if (value.userType() != QMetaType::QColor)
        return value.canConvert<QColor>() ? value.value<QColor>() : QColor();
    // The kind is looked at in the serialised form (type, null flag, then the colour with
    // its kind first), written by Qt itself, before the value is copied out.
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << value;
    }
    const int spec = bytes.size() > 5 ? qint8(bytes[5]) : -1;
    if (spec < int(QColor::Invalid) || spec > int(QColor::ExtendedRgb))
        return QColor();
    return value.value<QColor>();
}
