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

QRegion PolylineRegion(const QPolygonF& points, qreal penWidth, qreal dotRadius) {
    const qreal reach = PixelReach(penWidth);
    QRegion region;
    if (points.size() == 1) {
        const qreal r = dotRadius + reach;
        return QRegion(QRectF(points.front() - QPointF(r, r), points.front() + QPointF(r, r)).toAlignedRect());
    }
    for (qsizetype i = 1; i < points.size(); ++i) {
        const QRectF segment = QRectF(points[i - 1], points[i]).normalized();
        region += segment.adjusted(-reach, -reach, reach, reach).toAlignedRect();
    }
    return region;
}

}  // namespace ui::qt
