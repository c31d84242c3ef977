// A wide antialiased polyline drawn in pieces, with the same pixels as one drawPolyline.
#pragma once
#include <QPainter>
#include <QPolygonF>
#include <QRegion>

namespace ui::qt {

// Qt's antialiasing rasteriser keeps a small cell pool: a long zigzag line (the CPU chart over
// a busy minute) overflows it, and the whole outline is walked again for every band of rows,
// so the cost grows with the square of the line's length. Here each piece of a few segments is
// drawn on its own, clipped to its own pixel columns, with enough neighbouring segments on both
// sides that every join and cap reaching into those columns is drawn exactly as in the whole
// line; the columns of the pieces tile the painter's width, so the result is pixel for pixel
// the line drawn in one call, at a fraction of the cost. The painter's pen, render hints and
// clip are used as they stand; points must be in order of increasing x, within area.
void DrawPolylineInPieces(QPainter& p, const QPolygonF& points, const QSize& area);

// The rectangle of pixels that a polyline, or a dot (one point, drawn as a circle of
// dotRadius), drawn antialiased with a pen of this width may change: around its points, wide
// enough for the pen's caps, joins and the antialiased edge. Repainting it, for the line before
// and after a change, leaves every other pixel as it is. One rectangle, not a region of one per
// segment: Qt's region union of 60 overlapping rectangles cost more than drawing the line.
QRect PolylineBounds(const QPolygonF& points, qreal penWidth, qreal dotRadius);

}  // namespace ui::qt
