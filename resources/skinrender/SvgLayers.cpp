// SPDX-License-Identifier: GPL-3.0-or-later
#include "SvgLayers.h"

#include <QDomDocument>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QSvgRenderer>

#include <cmath>
#include <vector>

namespace skin {

namespace {

// ---------------------------------------------------------------------------------------------
// Blur

// Widths of three box filters whose succession approximates a Gaussian of the given sigma.
std::vector<int> boxRadii(qreal sigma) {
    const int n = 3;
    const qreal ideal = std::sqrt(12.0 * sigma * sigma / n + 1.0);
    int lower = int(std::floor(ideal));
    if (lower % 2 == 0)
        --lower;
    const int upper = lower + 2;
    const qreal mIdeal = (12.0 * sigma * sigma - n * lower * lower - 4.0 * n * lower - 3.0 * n) /
                         (-4.0 * lower - 4.0);
    const int m = int(std::lround(mIdeal));
    std::vector<int> radii;
    for (int i = 0; i < n; ++i)
        radii.push_back(((i < m ? lower : upper) - 1) / 2);
    return radii;
}

// One box pass along a line of n samples, step floats apart; outside the line is transparent.
void boxLine(const float *in, float *out, int n, int step, int r) {
    const double scale = 1.0 / (2 * r + 1);
    double acc = 0;
    for (int i = 0; i <= r && i < n; ++i)
        acc += in[i * step];
    for (int i = 0; i < n; ++i) {
        out[i * step] = float(acc * scale);
        const int add = i + r + 1;
        const int sub = i - r;
        if (add < n)
            acc += in[add * step];
        if (sub >= 0)
            acc -= in[sub * step];
    }
}

void blurAxis(std::vector<float> &data, int w, int h, qreal sigma, bool horizontal) {
    if (sigma <= 0.0)
        return;
    std::vector<float> tmp(data.size());
    for (int r : boxRadii(sigma)) {
        if (r <= 0)
            continue;
        if (horizontal) {
            for (int y = 0; y < h; ++y)
                for (int c = 0; c < 4; ++c) {
                    const size_t base = size_t(y) * w * 4 + c;
                    boxLine(data.data() + base, tmp.data() + base, w, 4, r);
                }
        } else {
            for (int x = 0; x < w; ++x)
                for (int c = 0; c < 4; ++c) {
                    const size_t base = size_t(x) * 4 + c;
                    boxLine(data.data() + base, tmp.data() + base, h, w * 4, r);
                }
        }
        data.swap(tmp);
    }
}

// ---------------------------------------------------------------------------------------------
// Document handling

struct Filter {
    qreal sigmaX = 0;
    qreal sigmaY = 0;
    qreal dx = 0;
    qreal dy = 0;
};

struct Pass {
    QVector<int> children; // indices into the root's element children
    bool special = false;  // one child drawn as a layer with filter, clip and opacity
    Filter filter;
    bool hasFilter = false;
    QString clipId;
    qreal opacity = 1.0;
};

const QSet<QString> &drawableTags() {
    static const QSet<QString> tags{"g",    "path",     "rect",    "circle", "ellipse",
                                    "line", "polyline", "polygon", "use",    "image",
                                    "text", "textArea", "switch"};
    return tags;
}

QVector<QDomElement> elementChildren(const QDomElement &parent) {
    QVector<QDomElement> out;
    for (QDomNode n = parent.firstChild(); !n.isNull(); n = n.nextSibling())
        if (n.isElement())
            out.push_back(n.toElement());
    return out;
}

// "url(#name)" -> "name"; anything else -> empty.
QString urlId(const QString &value) {
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*url\(\s*['"]?#([^'")\s]+)['"]?\s*\)\s*$)"));
    const auto m = re.match(value);
    return m.hasMatch() ? m.captured(1) : QString();
}

QVector<qreal> numbers(const QString &text, bool *ok) {
    QVector<qreal> out;
    *ok = true;
    const auto parts =
        text.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    for (const QString &p : parts) {
        bool good = false;
        out.push_back(p.toDouble(&good));
        *ok = *ok && good;
    }
    return out;
}

bool usesUnsupportedStyle(const QDomElement &e) {
    if (e.hasAttribute("filter") || e.hasAttribute("clip-path") || e.hasAttribute("mask"))
        return true;
    const QString style = e.attribute("style");
    return style.contains("filter") || style.contains("clip-path") || style.contains("mask");
}

bool checkNested(const QDomElement &e, QString *error) {
    for (const QDomElement &c : elementChildren(e)) {
        if (c.tagName() == "clipPath" || c.tagName() == "filter")
            continue;
        if (usesUnsupportedStyle(c)) {
            *error = QStringLiteral("filter, clip-path and mask work only on direct children of "
                                    "the root element (found on <%1 id=\"%2\">)")
                         .arg(c.tagName(), c.attribute("id"));
            return false;
        }
        if (!checkNested(c, error))
            return false;
    }
    return true;
}

bool parseFilter(const QDomElement &f, Filter *out, QString *error) {
    for (const QDomElement &p : elementChildren(f)) {
        bool ok = false;
        if (p.tagName() == "feGaussianBlur") {
            const auto v = numbers(p.attribute("stdDeviation"), &ok);
            if (!ok || v.isEmpty() || v.size() > 2) {
                *error = QStringLiteral("filter %1: bad stdDeviation").arg(f.attribute("id"));
                return false;
            }
            out->sigmaX = v[0];
            out->sigmaY = v.size() == 2 ? v[1] : v[0];
        } else if (p.tagName() == "feOffset") {
            out->dx = p.attribute("dx", "0").toDouble(&ok);
            bool okY = false;
            out->dy = p.attribute("dy", "0").toDouble(&okY);
            if (!ok || !okY) {
                *error = QStringLiteral("filter %1: bad feOffset").arg(f.attribute("id"));
                return false;
            }
        } else {
            *error = QStringLiteral("filter %1: <%2> is not supported (only feGaussianBlur and "
                                    "feOffset)")
                         .arg(f.attribute("id"), p.tagName());
            return false;
        }
    }
    return true;
}

QDomElement findById(const QDomElement &from, const QString &tag, const QString &id) {
    const QDomNodeList list = from.elementsByTagName(tag);
    for (int i = 0; i < list.size(); ++i) {
        const QDomElement e = list.at(i).toElement();
        if (e.attribute("id") == id)
            return e;
    }
    return QDomElement();
}

// Clip geometry: every shape filled opaque, no stroke, no ids (the originals stay in defs).
void makeClipGeometry(QDomElement e) {
    e.removeAttribute("id");
    e.removeAttribute("style");
    e.removeAttribute("class");
    const QString rule = e.attribute("clip-rule");
    if (!rule.isEmpty())
        e.setAttribute("fill-rule", rule);
    e.setAttribute("fill", "#000000");
    e.setAttribute("fill-opacity", "1");
    e.setAttribute("stroke", "none");
    e.setAttribute("opacity", "1");
    for (QDomElement c : elementChildren(e))
        makeClipGeometry(c);
}

// Qt's SVG module reports what it cannot draw only as warnings; those fail the render here.
QStringList *g_svgWarnings = nullptr;
QtMessageHandler g_previousHandler = nullptr;

void collectSvgWarnings(QtMsgType type, const QMessageLogContext &context, const QString &msg) {
    if (g_svgWarnings && type != QtDebugMsg && type != QtInfoMsg) {
        g_svgWarnings->push_back(msg);
        return;
    }
    if (g_previousHandler)
        g_previousHandler(type, context, msg);
}

class WarningScope {
public:
    explicit WarningScope(QStringList *sink) {
        g_svgWarnings = sink;
        g_previousHandler = qInstallMessageHandler(collectSvgWarnings);
    }
    ~WarningScope() {
        qInstallMessageHandler(g_previousHandler);
        g_svgWarnings = nullptr;
        g_previousHandler = nullptr;
    }
    WarningScope(const WarningScope &) = delete;
    WarningScope &operator=(const WarningScope &) = delete;
};

class Renderer {
public:
    Renderer(const RenderOptions &o) : m_o(o) {}

    QImage run(const QByteArray &svg, QString *error) {
        QString xmlError;
        int line = 0;
        int column = 0;
        if (!m_doc.setContent(svg, false, &xmlError, &line, &column)) {
            *error = QStringLiteral("XML error at %1:%2: %3").arg(line).arg(column).arg(xmlError);
            return QImage();
        }
        QDomElement root = m_doc.documentElement();
        if (root.tagName() != "svg") {
            *error = QStringLiteral("the root element is not <svg>");
            return QImage();
        }
        if (!m_o.size.isValid() || m_o.size.isEmpty()) {
            *error = QStringLiteral("no output size");
            return QImage();
        }
        for (const QDomElement &c : elementChildren(root))
            if (!checkNested(c, error))
                return QImage();
        if (!selectLayer(error))
            return QImage();

        QRectF box;
        {
            QStringList warnings;
            WarningScope scope(&warnings);
            QSvgRenderer probe(m_doc.toByteArray(-1));
            if (!probe.isValid()) {
                *error = QStringLiteral("QSvgRenderer cannot read the document");
                return QImage();
            }
            if (!warnings.isEmpty()) {
                *error = QStringLiteral("the SVG renderer complained: ") + warnings.join("; ");
                return QImage();
            }
            box = probe.viewBoxF();
        }
        if (box.isEmpty()) {
            *error = QStringLiteral("the document has no viewBox");
            return QImage();
        }
        m_scaleX = m_o.size.width() / box.width();
        m_scaleY = m_o.size.height() / box.height();

        QVector<Pass> passes;
        if (!planPasses(&passes, error))
            return QImage();

        QImage result(m_o.size, QImage::Format_ARGB32_Premultiplied);
        result.fill(Qt::transparent);
        for (const Pass &pass : passes) {
            if (!pass.special) {
                if (!draw(docFor(pass.children, -1), result, error))
                    return QImage();
                continue;
            }
            QImage layer(m_o.size, QImage::Format_ARGB32_Premultiplied);
            layer.fill(Qt::transparent);
            if (!draw(docFor(pass.children, pass.children.front()), layer, error))
                return QImage();
            if (pass.hasFilter) {
                gaussianBlur(layer, pass.filter.sigmaX * m_scaleX, pass.filter.sigmaY * m_scaleY);
                if (pass.filter.dx != 0 || pass.filter.dy != 0) {
                    QImage shifted(m_o.size, QImage::Format_ARGB32_Premultiplied);
                    shifted.fill(Qt::transparent);
                    QPainter p(&shifted);
                    p.drawImage(QPointF(pass.filter.dx * m_scaleX, pass.filter.dy * m_scaleY),
                                layer);
                    p.end();
                    layer = shifted;
                }
            }
            if (!pass.clipId.isEmpty()) {
                QImage mask(m_o.size, QImage::Format_ARGB32_Premultiplied);
                mask.fill(Qt::transparent);
                QDomDocument clipDoc;
                if (!clipDocument(pass.clipId, &clipDoc, error) || !draw(clipDoc, mask, error))
                    return QImage();
                QPainter p(&layer);
                p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
                p.drawImage(0, 0, mask);
            }
            QPainter p(&result);
            p.setOpacity(pass.opacity);
            p.drawImage(0, 0, layer);
        }
        return result;
    }

private:
    bool selectLayer(QString *error) {
        QDomElement root = m_doc.documentElement();
        bool found = false;
        for (QDomElement c : elementChildren(root)) {
            if (!drawableTags().contains(c.tagName()))
                continue;
            const QString layer = c.attribute("data-layer");
            c.removeAttribute("data-layer");
            const bool wanted = layer == m_o.layer;
            found = found || (wanted && !layer.isEmpty());
            if (wanted) {
                if (!layer.isEmpty() && c.attribute("display") == "none")
                    c.removeAttribute("display");
            } else {
                c.setAttribute("display", "none");
            }
        }
        if (!m_o.layer.isEmpty() && !found) {
            *error = QStringLiteral("no element has data-layer=\"%1\"").arg(m_o.layer);
            return false;
        }
        return true;
    }

    bool planPasses(QVector<Pass> *passes, QString *error) {
        const QVector<QDomElement> kids = elementChildren(m_doc.documentElement());
        Pass plain;
        for (int i = 0; i < kids.size(); ++i) {
            const QDomElement &c = kids[i];
            if (!drawableTags().contains(c.tagName()) || c.attribute("display") == "none")
                continue;
            const QString style = c.attribute("style");
            if (c.hasAttribute("mask") || style.contains("filter") || style.contains("clip-path") ||
                style.contains("mask")) {
                *error = QStringLiteral("<%1 id=\"%2\">: write filter and clip-path as attributes; "
                                        "mask is not supported")
                             .arg(c.tagName(), c.attribute("id"));
                return false;
            }
            if (!c.hasAttribute("filter") && !c.hasAttribute("clip-path")) {
                plain.children.push_back(i);
                continue;
            }
            if (!plain.children.isEmpty()) {
                passes->push_back(plain);
                plain = Pass();
            }
            Pass s;
            s.special = true;
            s.children.push_back(i);
            if (c.hasAttribute("filter")) {
                const QString id = urlId(c.attribute("filter"));
                const QDomElement f = findById(m_doc.documentElement(), "filter", id);
                if (f.isNull()) {
                    *error = QStringLiteral("no filter \"%1\"").arg(c.attribute("filter"));
                    return false;
                }
                if (!parseFilter(f, &s.filter, error))
                    return false;
                s.hasFilter = true;
            }
            if (c.hasAttribute("clip-path")) {
                s.clipId = urlId(c.attribute("clip-path"));
                const QDomElement cp = findById(m_doc.documentElement(), "clipPath", s.clipId);
                if (cp.isNull()) {
                    *error = QStringLiteral("no clipPath \"%1\"").arg(c.attribute("clip-path"));
                    return false;
                }
                if (cp.attribute("clipPathUnits", "userSpaceOnUse") != "userSpaceOnUse") {
                    *error = QStringLiteral("clipPath %1: only userSpaceOnUse").arg(s.clipId);
                    return false;
                }
            }
            bool ok = true;
            s.opacity = c.attribute("opacity", "1").toDouble(&ok);
            if (!ok) {
                *error = QStringLiteral("bad opacity on <%1>").arg(c.tagName());
                return false;
            }
            passes->push_back(s);
        }
        if (!plain.children.isEmpty())
            passes->push_back(plain);
        return true;
    }

    // A copy of the document that draws only the given root children; the special one loses
    // the attributes this renderer applies itself.
    QDomDocument docFor(const QVector<int> &keep, int special) const {
        QDomDocument copy = m_doc.cloneNode(true).toDocument();
        QVector<QDomElement> kids = elementChildren(copy.documentElement());
        for (int i = 0; i < kids.size(); ++i) {
            QDomElement c = kids[i];
            if (!drawableTags().contains(c.tagName()))
                continue;
            if (!keep.contains(i))
                c.setAttribute("display", "none");
            if (i == special) {
                c.removeAttribute("filter");
                c.removeAttribute("clip-path");
                c.removeAttribute("opacity");
            }
        }
        return copy;
    }

    bool clipDocument(const QString &clipId, QDomDocument *out, QString *error) const {
        *out = m_doc.cloneNode(true).toDocument();
        QDomElement root = out->documentElement();
        for (QDomElement c : elementChildren(root))
            if (drawableTags().contains(c.tagName()))
                c.setAttribute("display", "none");
        const QDomElement clip = findById(root, "clipPath", clipId);
        if (clip.isNull()) {
            *error = QStringLiteral("no clipPath \"%1\"").arg(clipId);
            return false;
        }
        QDomElement group = out->createElement("g");
        if (clip.hasAttribute("transform"))
            group.setAttribute("transform", clip.attribute("transform"));
        for (const QDomElement &c : elementChildren(clip)) {
            QDomElement copy = c.cloneNode(true).toElement();
            makeClipGeometry(copy);
            group.appendChild(copy);
        }
        root.appendChild(group);
        return true;
    }

    bool draw(const QDomDocument &doc, QImage &target, QString *error) const {
        QStringList warnings;
        {
            WarningScope scope(&warnings);
            QSvgRenderer renderer(doc.toByteArray(-1));
            if (!renderer.isValid()) {
                *error = QStringLiteral("QSvgRenderer cannot read the document");
                return false;
            }
            QPainter p(&target);
            p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
            if (m_o.turnDeg != 0) {
                const QPointF centre(target.width() / 2.0, target.height() / 2.0);
                p.translate(centre);
                p.rotate(m_o.turnDeg);
                p.translate(-centre);
            }
            renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(target.size())));
        }
        if (!warnings.isEmpty()) {
            *error = QStringLiteral("the SVG renderer complained: ") + warnings.join("; ");
            return false;
        }
        return true;
    }

    RenderOptions m_o;
    QDomDocument m_doc;
    qreal m_scaleX = 1;
    qreal m_scaleY = 1;
};

} // namespace

void gaussianBlur(QImage &image, qreal sigmaX, qreal sigmaY) {
    if (image.isNull() || (sigmaX <= 0 && sigmaY <= 0))
        return;
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = image.width();
    const int h = image.height();
    std::vector<float> data(size_t(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        float *out = data.data() + size_t(y) * w * 4;
        for (int x = 0; x < w; ++x) {
            out[x * 4 + 0] = qRed(line[x]);
            out[x * 4 + 1] = qGreen(line[x]);
            out[x * 4 + 2] = qBlue(line[x]);
            out[x * 4 + 3] = qAlpha(line[x]);
        }
    }
    blurAxis(data, w, h, sigmaX, true);
    blurAxis(data, w, h, sigmaY, false);
    for (int y = 0; y < h; ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const float *in = data.data() + size_t(y) * w * 4;
        for (int x = 0; x < w; ++x) {
            auto channel = [&](int c) { return qBound(0, int(std::lround(in[x * 4 + c])), 255); };
            const int a = channel(3);
            // Premultiplied colour never exceeds alpha.
            line[x] = qRgba(qMin(channel(0), a), qMin(channel(1), a), qMin(channel(2), a), a);
        }
    }
}

QImage renderSvg(const QByteArray &svg, const RenderOptions &options, QString *error) {
    Renderer r(options);
    return r.run(svg, error);
}

} // namespace skin
