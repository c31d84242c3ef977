#include "ui/qt/polyline_pieces.h"

#include <algorithm>
#include <cmath>

namespace ui::qt {

namespace {
// Segments in a piece: measured fastest for the dashboard's 60-point chart.
constexpr int kPieceSegments = 4;

// How far a segment's pixels reach beyond the box of its end points: half the pen each side, a
// square cap's corner a little further, a pixel of antialiasing and one for rounding.
qreal PixelReach(qreal penWidth) { return std::ceil(std::max<qreal>(1.0, penWidth)) + 2; }
}  // namespace

void DrawPolylineInPieces(QPainter& p, const QPolygonF& points, const QSize& area) {
    const int n = static_cast<int>(points.size());
    if (n < 2 * kPieceSegments + 1) {
        p.drawPolyline(points);
        return;
    }
    const qreal reach = PixelReach(p.pen().widthF());
    const bool clipped = p.hasClipping();
    const QRegion outerClip = p.clipRegion();
    for (int start = 0; start < n - 1; start += kPieceSegments) {
        const int end = std::min(start + kPieceSegments, n - 1);
        // The columns this piece paints: from its first point's to its last point's.
        const int left = start == 0 ? 0 : static_cast<int>(std::floor(points[start].x()));
        const int right = end == n - 1 ? area.width() : static_cast<int>(std::floor(points[end].x()));
        if (right <= left) continue;
        // Every segment that may reach into those columns.
        int from = start, to = end;
        while (from > 0 && points[start].x() - points[from].x() < reach) --from;
        while (to < n - 1 && points[to].x() - points[end].x() < reach) ++to;
        const QRect columns(left, 0, right - left, area.height());
        if (clipped) {
            p.setClipRegion(outerClip.intersected(columns));
        } else {
            p.setClipRect(columns);
        }
        p.drawPolyline(points.constData() + from, to - from + 1);
    }
    if (clipped) p.setClipRegion(outerClip);
    else p.setClipping(false);
}

QRect PolylineBounds(const QPolygonF& points, qreal penWidth, qreal dotRadius) {
    if (points.isEmpty()) return {};
    const qreal reach = points.size() == 1 ? dotRadius + PixelReach(penWidth) : PixelReach(penWidth);
    qreal left = points.front().x(), right = left, top = points.front().y(), bottom = top;
    for (const QPointF& p : points) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    return QRectF(QPointF(left - reach, top - reach), QPointF(right + reach, bottom + reach)).toAlignedRect();
}

}  // namespace ui::qt
