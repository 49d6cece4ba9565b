// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatteryChart.h"

#include "FocusMark.h"
#include "InterfaceColour.h"
#include "LanguageFont.h"
#include "Scale.h"

#include <QDateTime>
#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
constexpr qint64 kDayMs = 24 * 60 * 60 * 1000;
constexpr int kLabelPixels = 11;
// Room around the plot in design units: the percentages at the left, the days below, the
// legend above.
constexpr int kLeftRoom = 40;
constexpr int kRightRoom = 12;
constexpr int kTopRoom = 22;
constexpr int kBottomRoom = 22;

const QColor kField(20, 22, 25);
const QColor kGrid(52, 55, 60);
const QColor kMidnight(78, 82, 88);
const QColor kLabel(170, 172, 176);

double levelY(int level) {
    return std::clamp(level, 0, 100) / 100.0;
}
} // namespace

BatteryChartSeries batteryChartSeries(const QVector<BatterySample> &samples, qint64 fromMs,
                                      qint64 toMs, qint64 gapMs) {
    BatteryChartSeries series;
    if (toMs <= fromMs)
        return series;
    const double span = double(toMs - fromMs);
    auto xOf = [&](qint64 t) { return double(std::clamp(t, fromMs, toMs) - fromMs) / span; };
    QPolygonF line;
    auto endLine = [&] {
        if (!line.isEmpty())
            series.lines.append(line);
        line.clear();
    };
    for (int i = 0; i < samples.size(); ++i) {
        const BatterySample &s = samples[i];
        const bool last = i + 1 == samples.size();
        const qint64 next = last ? toMs : samples[i + 1].timeMs;
        const bool joined = next - s.timeMs <= gapMs;
        if (s.charging) {
            const double a = xOf(s.timeMs);
            const double b = xOf(std::min(next, s.timeMs + gapMs));
            if (b > a && !series.charging.isEmpty() && series.charging.last().second >= a)
                series.charging.last().second = b;
            else if (b > a)
                series.charging.append({a, b});
        }
        if (s.timeMs > toMs)
            break;
        if (s.timeMs < fromMs) {
            // Before the chart: only its line into the chart counts, cut at the left edge.
            if (joined && next > fromMs) {
                const int nextLevel = last ? s.level : samples[i + 1].level;
                const double t = double(fromMs - s.timeMs) / double(next - s.timeMs);
                line.append({0.0, levelY(s.level) + t * (levelY(nextLevel) - levelY(s.level))});
                if (last)
                    line.append({1.0, levelY(s.level)});
            }
            continue;
        }
        line.append({xOf(s.timeMs), levelY(s.level)});
        if (last && joined)
            line.append({1.0, levelY(s.level)});
        if (!joined)
            endLine();
    }
    endLine();
    return series;
}

BatteryChart::BatteryChart(QWidget *parent) : QWidget(parent) {
    // Tab reaches the chart, so that a screen reader reads its name and summary.
    setFocusPolicy(Qt::TabFocus);
    trackFocusMarks();
    retranslateUi();
}

void BatteryChart::setSamples(const QVector<BatterySample> &samples, qint64 nowMs) {
    m_nowMs = nowMs;
    m_series = batteryChartSeries(samples, nowMs - kDays * kDayMs, nowMs, kGapMs);
    retranslateUi();
    update();
}

void BatteryChart::retranslateUi() {
    setAccessibleName(tr("Battery level over the last 7 days"));
    int lowest = 100;
    int highest = 0;
    for (const QPolygonF &line : m_series.lines) {
        for (const QPointF &p : line) {
            lowest = std::min(lowest, int(std::lround(p.y() * 100)));
            highest = std::max(highest, int(std::lround(p.y() * 100)));
        }
    }
    setAccessibleDescription(m_series.lines.isEmpty()
                                 ? tr("No battery readings in the last 7 days.")
                                 : tr("Lowest %1%, highest %2%.").arg(lowest).arg(highest));
    update();
}

QRectF BatteryChart::plotArea() const {
    return QRectF(rect()).adjusted(scaled(kLeftRoom), scaled(kTopRoom), -scaled(kRightRoom),
                                   -scaled(kBottomRoom));
}

void BatteryChart::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal radius = scaled(4);
    p.setPen(Qt::NoPen);
    p.setBrush(kField);
    p.drawRoundedRect(QRectF(rect()), radius, radius);

    const QRectF plot = plotArea();
    auto at = [&](const QPointF &part) {
        return QPointF(plot.left() + part.x() * plot.width(),
                       plot.bottom() - part.y() * plot.height());
    };
    const QFont font = languageFont(kLabelPixels);
    p.setFont(font);
    const int textHeight = QFontMetrics(font).height();

    // The level's grid, with 0%, 50% and 100% at the side.
    for (int level = 0; level <= 100; level += 25) {
        const qreal y = at({0, levelY(level)}).y();
        p.setPen(QPen(kGrid, 1));
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        if (level % 50 != 0)
            continue;
        p.setPen(kLabel);
        p.drawText(QRectF(0, y - textHeight / 2.0, plot.left() - scaled(6), textHeight),
                   Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1%").arg(level));
    }

    QColor band = interfaceColour();
    band.setAlpha(70);
    for (const auto &span : m_series.charging)
        p.fillRect(QRectF(at({span.first, 1}), at({span.second, 0})), band);

    // Midnights, each day's short name under the part of it shown, where it fits.
    const qint64 fromMs = m_nowMs - kDays * kDayMs;
    const QLocale locale(
        tr("en", "The locale (language_COUNTRY) whose short day names the battery chart shows"));
    QDateTime day = QDateTime::fromMSecsSinceEpoch(fromMs);
    day = QDateTime(day.date(), QTime(0, 0));
    const double span = double(kDays * kDayMs);
    while (day.toMSecsSinceEpoch() < m_nowMs) {
        const QDateTime nextDay = day.addDays(1);
        const double a = std::max<qint64>(0, day.toMSecsSinceEpoch() - fromMs) / span;
        const double b = (std::min(m_nowMs, nextDay.toMSecsSinceEpoch()) - fromMs) / span;
        const QPointF left = at({a, 0});
        const QPointF right = at({b, 0});
        if (day.toMSecsSinceEpoch() > fromMs) {
            p.setPen(QPen(kMidnight, 1, Qt::DotLine));
            p.drawLine(at({a, 1}), left);
        }
        const QString name = locale.dayName(day.date().dayOfWeek(), QLocale::ShortFormat);
        if (right.x() - left.x() >= QFontMetrics(font).horizontalAdvance(name) + scaled(4)) {
            p.setPen(kLabel);
            p.drawText(
                QRectF(left.x(), plot.bottom() + scaled(3), right.x() - left.x(), textHeight),
                Qt::AlignCenter, name);
        }
        day = nextDay;
    }

    if (!m_series.charging.isEmpty()) {
        const QString text = tr("Charging");
        const int w = QFontMetrics(font).horizontalAdvance(text);
        const qreal box = scaled(10);
        const QRectF swatch(plot.right() - w - box - scaled(6), (plot.top() - box) / 2.0, box, box);
        p.fillRect(swatch, band);
        p.setPen(kLabel);
        p.drawText(QRectF(swatch.right() + scaled(6), 0, w + 1, plot.top()), Qt::AlignVCenter,
                   text);
    }

    if (m_series.lines.isEmpty()) {
        p.setPen(kLabel);
        p.drawText(plot, Qt::AlignCenter, tr("No battery readings in the last 7 days."));
    } else {
        QPen pen(interfaceColour(), scaled(2), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(pen);
        p.setBrush(interfaceColour());
        for (const QPolygonF &line : m_series.lines) {
            QPolygonF points;
            for (const QPointF &part : line)
                points.append(at(part));
            // A lone reading (a new history has just one, at the right edge) is a dot that
            // can be seen.
            if (points.boundingRect().width() < pen.widthF())
                p.drawEllipse(points.last(), pen.widthF(), pen.widthF());
            else
                p.drawPolyline(points);
        }
    }
    paintFocusMark(p, this, rect());
}
