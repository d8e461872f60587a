#include "app/stickies/Geometry.h"

#include <QScreen>
#include <QStringList>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies::Geometry {

namespace {

double area(const QRectF& r) {
    return r.width() * r.height();
}

double overlapArea(const QRectF& a, const QRectF& b) {
    const double width = std::min(maxX(a), maxX(b)) - std::max(a.x(), b.x());
    const double height = std::min(maxY(a), maxY(b)) - std::max(a.y(), b.y());
    return width > 0 && height > 0 ? width * height : 0;
}

int characterCount(const QString& text) {
    int count = 0;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    while (finder.toNextBoundary() != -1)
        ++count;
    return count;
}

int leadingHashes(const QString& line) {
    int count = 0;
    while (count < line.size() && line.at(count) == QLatin1Char('#'))
        ++count;
    return count;
}

} // namespace

QRectF clamped(const QRectF& rect, const QRectF& bounds) {
    const double width = std::min(rect.width(), bounds.width());
    const double height = std::min(rect.height(), bounds.height());
    const double x = std::min(std::max(rect.x(), bounds.x()), maxX(bounds) - width);
    const double y = std::min(std::max(rect.y(), bounds.y()), maxY(bounds) - height);
    return {x, y, width, height};
}

QRectF topStrip(const QRectF& frame) {
    return {frame.x(), maxY(frame) - titleStripHeight, frame.width(), titleStripHeight};
}

QRectF corrected(const QRectF& frame, const QList<QRectF>& visibleFrames) {
    if (visibleFrames.isEmpty())
        return frame;
    const QRectF strip = topStrip(frame);
    for (const QRectF& visible : visibleFrames) {
        const QRectF shown = strip.intersected(visible);
        if (!shown.isEmpty() && shown.width() >= 44 && shown.height() >= 20)
            return frame;
    }
    const double cx = midX(frame);
    const double cy = midY(frame);
    qsizetype nearest = 0;
    double best = std::numeric_limits<double>::infinity();
    for (qsizetype i = 0; i < visibleFrames.size(); ++i) {
        const QRectF& r = visibleFrames.at(i);
        const double dx = std::max({r.x() - cx, 0.0, cx - maxX(r)});
        const double dy = std::max({r.y() - cy, 0.0, cy - maxY(r)});
        if (dx * dx + dy * dy < best) {
            best = dx * dx + dy * dy;
            nearest = i;
        }
    }
    return clamped(frame, visibleFrames.at(nearest));
}

QRectF atMouse(const QPointF& mouse, const QRectF& visible) {
    return clamped(
        {mouse.x() + cursorOffset, mouse.y() - cursorOffset - newStickySize, newStickySize, newStickySize},
        visible);
}

QRectF belowAnchor(const QRectF& anchor, const QRectF& visible) {
    return clamped({maxX(anchor) - newStickySize, anchor.y() - menuBarOffset - newStickySize, newStickySize,
                    newStickySize},
                   visible);
}

QRectF after(const QRectF& source, const QSizeF& size, const QRectF& visible) {
    QRectF candidate(source.x() + userCascadeStep, maxY(source) - userCascadeStep - size.height(),
                     size.width(), size.height());
    if (maxX(candidate) > maxX(visible) || candidate.y() < visible.y())
        candidate.moveTo(visible.x() + userCascadeStep, maxY(visible) - userCascadeStep - size.height());
    return clamped(candidate, visible);
}

double estimatedHeight(const QString& markdown) {
    QStringList lines;
    for (const QString& line : markdown.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty())
            lines.append(trimmed);
    }
    if (lines.isEmpty())
        return 44;
    double height = 44;
    for (const QString& line : lines) {
        const int hashes = leadingHashes(line);
        if (hashes == 1)
            height += 32;
        else if (hashes == 2)
            height += 28;
        else if (hashes >= 3 && hashes <= 6)
            height += 24;
        else
            height += ((characterCount(line) + 33) / 34) * 22;
    }
    return std::clamp(height, 120.0, 360.0);
}

QList<QRectF> batchLayout(const QList<double>& heights, const QRectF& visible,
                          const QList<QRectF>& obstacles) {
    const int n = int(heights.size());
    QList<QRectF> frames;
    if (n == 0)
        return frames;
    const int columns = std::max(1, std::min({n, 5, int(std::floor((visible.width() + gridGap) / 276))}));
    const double gridWidth = stickyWidth * columns + gridGap * (columns - 1);
    const double x0 = std::max(visible.x(), midX(visible) - gridWidth / 2);

    double totalHeight = 0;
    int rows = 0;
    for (int first = 0; first < n; first += columns, ++rows)
        totalHeight +=
            *std::max_element(heights.begin() + first, heights.begin() + std::min(n, first + columns));
    totalHeight += gridGap * (rows - 1);
    double top = std::min(maxY(visible), midY(visible) + totalHeight / 2);

    QList<QRectF> taken = obstacles;
    const auto overlapsTooMuch = [&taken](const QRectF& candidate) {
        return std::any_of(taken.begin(), taken.end(), [&candidate](const QRectF& other) {
            return overlapArea(candidate, other) > std::min(area(candidate), area(other)) / 4;
        });
    };
    int next = 0;
    while (next < n) {
        const double rowHeight =
            *std::max_element(heights.begin() + next, heights.begin() + std::min(n, next + columns));
        if (top - rowHeight < visible.y())
            break;
        for (int k = 0; k < columns && next < n; ++k) {
            const double h = heights.at(next);
            const QRectF candidate(x0 + 276 * k, top - h, stickyWidth, h);
            if (overlapsTooMuch(candidate))
                continue;
            frames.append(candidate);
            taken.append(candidate);
            ++next;
        }
        top -= rowHeight + gridGap;
    }
    QRectF previous =
        frames.isEmpty() ? QRectF(x0 - cascadeStep, maxY(visible) + cascadeStep, 0, 0) : frames.last();
    for (; next < n; ++next) {
        const double h = heights.at(next);
        previous = clamped(
            QRectF(previous.x() + cascadeStep, maxY(previous) - cascadeStep - h, stickyWidth, h), visible);
        frames.append(previous);
    }
    return frames;
}

QString screenID(const QScreen& screen) {
    if (!screen.serialNumber().isEmpty())
        return screen.serialNumber();
    return QStringList{screen.manufacturer(), screen.model(), screen.name()}.join(QLatin1Char(' '));
}

QString logText(const QRectF& frame) {
    return u"{{%1, %2}, {%3, %4}}"_s.arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height());
}

} // namespace Dovrin::Stickies::Geometry
