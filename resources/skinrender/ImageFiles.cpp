// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageFiles.h"

#include <QBuffer>
#include <QHash>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace skin {

namespace {

void putU8(QByteArray &b, int v) {
    b.append(char(v & 0xff));
}
void putU16(QByteArray &b, int v) {
    putU8(b, v);
    putU8(b, v >> 8);
}
void putU32(QByteArray &b, quint32 v) {
    putU16(b, int(v & 0xffff));
    putU16(b, int(v >> 16));
}

bool writeAll(QIODevice *out, const QByteArray &bytes, QString *error) {
    if (out->write(bytes) != bytes.size()) {
        *error = out->errorString();
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// ICO

QByteArray dibEntry(const QImage &source) {
    const QImage img = source.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width();
    const int h = img.height();
    const int maskStride = ((w + 31) / 32) * 4;
    QByteArray b;
    putU32(b, 40); // BITMAPINFOHEADER
    putU32(b, quint32(w));
    putU32(b, quint32(h * 2)); // colour rows and mask rows
    putU16(b, 1);
    putU16(b, 32);
    putU32(b, 0); // BI_RGB
    putU32(b, quint32(w * h * 4 + maskStride * h));
    putU32(b, 0);
    putU32(b, 0);
    putU32(b, 0);
    putU32(b, 0);
    for (int y = h - 1; y >= 0; --y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            putU8(b, qBlue(line[x]));
            putU8(b, qGreen(line[x]));
            putU8(b, qRed(line[x]));
            putU8(b, qAlpha(line[x]));
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < w; ++x)
            if (qAlpha(line[x]) == 0)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        b.append(row);
    }
    return b;
}

QByteArray pngEntry(const QImage &img) {
    QByteArray b;
    QBuffer buffer(&b);
    buffer.open(QIODevice::WriteOnly);
    img.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG");
    return b;
}

// ---------------------------------------------------------------------------------------------
// GIF: palette

struct Box {
    std::vector<std::pair<QRgb, int>> colours; // colour and pixel count
    int longest = 0;                           // channel with the widest range: 0 r, 1 g, 2 b
    int range = 0;
};

int channel(QRgb c, int i) {
    return i == 0 ? qRed(c) : i == 1 ? qGreen(c) : qBlue(c);
}

void measure(Box &box) {
    std::array<int, 3> lo{255, 255, 255};
    std::array<int, 3> hi{0, 0, 0};
    for (const auto &e : box.colours)
        for (int i = 0; i < 3; ++i) {
            lo[i] = std::min(lo[i], channel(e.first, i));
            hi[i] = std::max(hi[i], channel(e.first, i));
        }
    box.range = -1;
    for (int i = 0; i < 3; ++i)
        if (hi[i] - lo[i] > box.range) {
            box.range = hi[i] - lo[i];
            box.longest = i;
        }
}

std::vector<QRgb> medianCut(const QHash<QRgb, int> &histogram, int maxColours) {
    std::vector<QRgb> palette;
    if (histogram.size() <= maxColours) {
        for (auto it = histogram.cbegin(); it != histogram.cend(); ++it)
            palette.push_back(it.key());
        std::sort(palette.begin(), palette.end());
        return palette;
    }
    std::vector<Box> boxes(1);
    for (auto it = histogram.cbegin(); it != histogram.cend(); ++it)
        boxes[0].colours.emplace_back(it.key(), it.value());
    measure(boxes[0]);
    while (int(boxes.size()) < maxColours) {
        // Split the box whose colours spread widest, weighted a little by its pixel count.
        int pick = -1;
        double best = 0;
        for (int i = 0; i < int(boxes.size()); ++i) {
            if (boxes[i].colours.size() < 2 || boxes[i].range == 0)
                continue;
            double pixels = 0;
            for (const auto &e : boxes[i].colours)
                pixels += e.second;
            const double score = boxes[i].range * std::sqrt(pixels);
            if (score > best) {
                best = score;
                pick = i;
            }
        }
        if (pick < 0)
            break;
        Box &box = boxes[pick];
        const int ch = box.longest;
        std::sort(box.colours.begin(), box.colours.end(), [ch](const auto &a, const auto &b) {
            return channel(a.first, ch) < channel(b.first, ch);
        });
        long total = 0;
        for (const auto &e : box.colours)
            total += e.second;
        long running = 0;
        size_t cut = 1;
        for (size_t i = 0; i + 1 < box.colours.size(); ++i) {
            running += box.colours[i].second;
            cut = i + 1;
            if (running * 2 >= total)
                break;
        }
        Box upper;
        upper.colours.assign(box.colours.begin() + long(cut), box.colours.end());
        box.colours.resize(cut);
        measure(box);
        measure(upper);
        boxes.push_back(std::move(upper));
    }
    for (const Box &box : boxes) {
        double r = 0, g = 0, b = 0, n = 0;
        for (const auto &e : box.colours) {
            r += qRed(e.first) * double(e.second);
            g += qGreen(e.first) * double(e.second);
            b += qBlue(e.first) * double(e.second);
            n += e.second;
        }
        palette.push_back(qRgb(int(r / n + 0.5), int(g / n + 0.5), int(b / n + 0.5)));
    }
    return palette;
}

int nearest(const std::vector<QRgb> &palette, QRgb c) {
    int best = 0;
    int bestDistance = INT32_MAX;
    for (int i = 0; i < int(palette.size()); ++i) {
        const int dr = qRed(c) - qRed(palette[i]);
        const int dg = qGreen(c) - qGreen(palette[i]);
        const int db = qBlue(c) - qBlue(palette[i]);
        const int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

// ---------------------------------------------------------------------------------------------
// GIF: LZW

class BitPacker {
public:
    void put(int code, int bits) {
        m_acc |= quint32(code) << m_bits;
        m_bits += bits;
        while (m_bits >= 8) {
            m_bytes.append(char(m_acc & 0xff));
            m_acc >>= 8;
            m_bits -= 8;
        }
    }
    QByteArray finish() {
        if (m_bits > 0)
            m_bytes.append(char(m_acc & 0xff));
        m_acc = 0;
        m_bits = 0;
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    quint32 m_acc = 0;
    int m_bits = 0;
};

QByteArray lzw(const std::vector<uint8_t> &indices, int minCodeSize) {
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    int codeSize = minCodeSize + 1;
    int lastCode = endCode; // highest code in use
    std::unordered_map<uint32_t, int> table;
    BitPacker out;
    out.put(clearCode, codeSize);
    int prefix = indices.empty() ? 0 : indices[0];
    for (size_t i = 1; i < indices.size(); ++i) {
        const uint32_t key = (uint32_t(prefix) << 8) | indices[i];
        const auto found = table.find(key);
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        out.put(prefix, codeSize);
        table.emplace(key, ++lastCode);
        if (lastCode >= (1 << codeSize))
            ++codeSize;
        if (lastCode == 4095) {
            out.put(clearCode, codeSize);
            table.clear();
            codeSize = minCodeSize + 1;
            lastCode = endCode;
        }
        prefix = indices[i];
    }
    out.put(prefix, codeSize);
    // A clear before the end code keeps decoders that widen their codes one entry early in step.
    out.put(clearCode, codeSize);
    out.put(endCode, minCodeSize + 1);
    return out.finish();
}

void putSubBlocks(QByteArray &b, const QByteArray &data) {
    for (int pos = 0; pos < data.size(); pos += 255) {
        const int n = std::min(255, int(data.size()) - pos);
        putU8(b, n);
        b.append(data.constData() + pos, n);
    }
    putU8(b, 0);
}

} // namespace

bool writeIco(QIODevice *out, const QVector<QImage> &images, QString *error) {
    if (images.isEmpty() || images.size() > 0xffff) {
        *error = QStringLiteral("an icon needs at least one image");
        return false;
    }
    QVector<QByteArray> entries;
    for (const QImage &img : images) {
        if (img.width() != img.height() || img.width() < 1 || img.width() > 256) {
            *error = QStringLiteral("icon images must be square, 1 to 256 pixels");
            return false;
        }
        entries.push_back(img.width() == 256 ? pngEntry(img) : dibEntry(img));
    }
    QByteArray b;
    putU16(b, 0);
    putU16(b, 1); // icon
    putU16(b, images.size());
    quint32 offset = quint32(6 + 16 * images.size());
    for (int i = 0; i < images.size(); ++i) {
        const int side = images[i].width();
        putU8(b, side == 256 ? 0 : side);
        putU8(b, side == 256 ? 0 : side);
        putU8(b, 0); // no palette
        putU8(b, 0);
        putU16(b, 1);  // planes
        putU16(b, 32); // bits per pixel
        putU32(b, quint32(entries[i].size()));
        putU32(b, offset);
        offset += quint32(entries[i].size());
    }
    for (const QByteArray &e : entries)
        b.append(e);
    return writeAll(out, b, error);
}

bool writeGif(QIODevice *out, const QVector<QImage> &frames, int delayMs, const QColor &matte,
              QString *error) {
    if (frames.isEmpty()) {
        *error = QStringLiteral("an animation needs at least one frame");
        return false;
    }
    const QSize size = frames.front().size();
    if (size.width() > 0xffff || size.height() > 0xffff) {
        *error = QStringLiteral("frame too large for GIF");
        return false;
    }
    // Flatten: transparent or composed over the matte.
    const int mr = matte.red();
    const int mg = matte.green();
    const int mb = matte.blue();
    constexpr QRgb kTransparent = 0x00000000u;
    QVector<QVector<QRgb>> flat;
    QHash<QRgb, int> histogram;
    for (const QImage &frame : frames) {
        if (frame.size() != size) {
            *error = QStringLiteral("all frames must have the same size");
            return false;
        }
        const QImage img = frame.convertToFormat(QImage::Format_ARGB32);
        QVector<QRgb> pixels;
        pixels.reserve(size.width() * size.height());
        for (int y = 0; y < size.height(); ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
            for (int x = 0; x < size.width(); ++x) {
                const int a = qAlpha(line[x]);
                if (a < 128) {
                    pixels.push_back(kTransparent);
                    continue;
                }
                auto mix = [a](int c, int m) { return (c * a + m * (255 - a) + 127) / 255; };
                const QRgb c =
                    qRgb(mix(qRed(line[x]), mr), mix(qGreen(line[x]), mg), mix(qBlue(line[x]), mb));
                pixels.push_back(c);
                ++histogram[c];
            }
        }
        flat.push_back(pixels);
    }
    // Index 0 is transparency, 1..255 the colours.
    const std::vector<QRgb> palette = medianCut(histogram, 255);
    QHash<QRgb, int> lookup;
    for (auto it = histogram.cbegin(); it != histogram.cend(); ++it)
        lookup.insert(it.key(), 1 + nearest(palette, it.key()));

    QByteArray b("GIF89a");
    putU16(b, size.width());
    putU16(b, size.height());
    putU8(b, 0x80 | (7 << 4) | 7); // global table of 256 entries, 8 bits per primary
    putU8(b, 0);                   // background: the transparent index
    putU8(b, 0);
    for (int i = 0; i < 256; ++i) {
        const QRgb c =
            (i >= 1 && i <= int(palette.size())) ? palette[size_t(i - 1)] : qRgb(mr, mg, mb);
        putU8(b, qRed(c));
        putU8(b, qGreen(c));
        putU8(b, qBlue(c));
    }
    // Loop forever.
    putU8(b, 0x21);
    putU8(b, 0xff);
    putU8(b, 11);
    b.append("NETSCAPE2.0", 11);
    putU8(b, 3);
    putU8(b, 1);
    putU16(b, 0);
    putU8(b, 0);

    const int delayCs = std::max(2, (delayMs + 5) / 10);
    for (const QVector<QRgb> &pixels : flat) {
        // Graphic control: restore to background after the frame, transparent index 0.
        putU8(b, 0x21);
        putU8(b, 0xf9);
        putU8(b, 4);
        putU8(b, (2 << 2) | 1);
        putU16(b, delayCs);
        putU8(b, 0);
        putU8(b, 0);
        // Image descriptor: the whole canvas, no local table, not interlaced.
        putU8(b, 0x2c);
        putU16(b, 0);
        putU16(b, 0);
        putU16(b, size.width());
        putU16(b, size.height());
        putU8(b, 0);
        std::vector<uint8_t> indices;
        indices.reserve(size_t(pixels.size()));
        for (QRgb p : pixels)
            indices.push_back(uint8_t(p == kTransparent ? 0 : lookup.value(p)));
        putU8(b, 8);
        putSubBlocks(b, lzw(indices, 8));
    }
    putU8(b, 0x3b);
    return writeAll(out, b, error);
}

} // namespace skin
