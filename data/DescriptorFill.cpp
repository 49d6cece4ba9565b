// SPDX-License-Identifier: GPL-3.0-or-later
// descriptorfill: fills a template of an installed file (the udev rule, the menu entry, the
// AppStream metainfo) from the model descriptor, so that they name the mouse the program
// serves.
//
//   descriptorfill [-DNAME=VALUE...] DefaultProfile.bin TEMPLATE OUTPUT
//
// @PRODUCT_NAME@ becomes the descriptor's product name and @NAME@ the value given with -D.
// A line with @VID@, @PID@ (lowercase hexadecimal, as sysfs shows them) or @VID_UPPER@,
// @PID_UPPER@ is written once for each USB identity of the model (receiver and cable; one
// line when both are the same). In an .xml output the values are escaped. A placeholder
// left unfilled is an error, and the output is replaced only when all went well.

#include "AppDir.h"
#include "ModelDescriptor.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>
#include <utility>
#include <vector>

namespace {

int fail(const QString &message) {
    std::fprintf(stderr, "descriptorfill: %s\n", qPrintable(message));
    return 1;
}

QString hex4(int value, bool upper) {
    const QString text = QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0'));
    return upper ? text.toUpper() : text;
}

// A value must stay on its line and inside its quotes, whatever file it lands in.
bool plainValue(const QString &value) {
    for (const QChar c : value) {
        if (c.category() == QChar::Other_Control || c == QLatin1Char('"'))
            return false;
    }
    return !value.isEmpty();
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QMap<QString, QString> values;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("-D"))) {
        const QString definition = args.takeFirst().mid(2);
        const int equals = definition.indexOf(QLatin1Char('='));
        if (equals <= 0)
            return fail(QStringLiteral("expected -DNAME=VALUE: ") + definition);
        values.insert(definition.left(equals), definition.mid(equals + 1));
    }
    if (args.size() != 3)
        return fail(QStringLiteral("usage: descriptorfill [-DNAME=VALUE...] "
                                   "DefaultProfile.bin TEMPLATE OUTPUT"));
    const QString descriptor = args[0];
    const QString templatePath = args[1];
    const QString output = args[2];

    if (QFileInfo(descriptor).fileName() != QLatin1String("DefaultProfile.bin") ||
        !QFileInfo(descriptor).isFile())
        return fail(QStringLiteral("no model descriptor: ") + descriptor);
    AppDir::setPath(QFileInfo(descriptor).absolutePath());
    values.insert(QStringLiteral("PRODUCT_NAME"), descriptorProductName());
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (!plainValue(it.value()))
            return fail(QStringLiteral("unusable value for %1: \"%2\"").arg(it.key(), it.value()));
    }

    int vid1 = 0, pid1 = 0, vid2 = 0, pid2 = 0;
    readUsbIds(vid1, pid1, vid2, pid2);
    std::vector<std::pair<int, int>> identities{{vid1, pid1}};
    if (vid2 != vid1 || pid2 != pid1)
        identities.emplace_back(vid2, pid2);
    for (const auto &id : identities) {
        if (id.first <= 0 || id.first > 0xFFFF || id.second <= 0 || id.second > 0xFFFF)
            return fail(QStringLiteral("USB ids out of range in %1").arg(descriptor));
    }

    QFile in(templatePath);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("cannot read ") + templatePath);
    const bool xml = output.endsWith(QLatin1String(".xml"));
    const QStringList lines = QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'));

    QString text;
    for (int i = 0; i < lines.size(); ++i) {
        if (i == lines.size() - 1 && lines[i].isEmpty())
            break;
        QString line = lines[i];
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            line.replace(QLatin1Char('@') + it.key() + QLatin1Char('@'),
                         xml ? it.value().toHtmlEscaped() : it.value());
        }
        const bool perIdentity =
            line.contains(QLatin1String("@VID")) || line.contains(QLatin1String("@PID"));
        for (const auto &id : identities) {
            QString filled = line;
            filled.replace(QLatin1String("@VID@"), hex4(id.first, false));
            filled.replace(QLatin1String("@PID@"), hex4(id.second, false));
            filled.replace(QLatin1String("@VID_UPPER@"), hex4(id.first, true));
            filled.replace(QLatin1String("@PID_UPPER@"), hex4(id.second, true));
            text += filled + QLatin1Char('\n');
            if (!perIdentity)
                break;
        }
    }
    static const QRegularExpression leftOver(QStringLiteral("@[A-Z_]+@"));
    const QRegularExpressionMatch unfilled = leftOver.match(text);
    if (unfilled.hasMatch())
        return fail(
            QStringLiteral("%1: nothing to fill %2 with").arg(templatePath, unfilled.captured(0)));

    QSaveFile out(output);
    // Flushed before the commit, which misses an error of its own last write (a full disk).
    if (!out.open(QIODevice::WriteOnly) || out.write(text.toUtf8()) < 0 || !out.flush() ||
        !out.commit())
        return fail(QStringLiteral("cannot write ") + output);
    return 0;
}
