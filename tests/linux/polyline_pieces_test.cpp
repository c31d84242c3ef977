// A line drawn in pieces must give the very pixels of the line drawn in one call.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <functional>
#include <random>

#include "ui/qt/polyline_pieces.h"

namespace {

struct Case {
    const char* name;
    QSize size;
    qreal penWidth;
    std::function<double(int)> value;  // 0 to 1 for point i
    int points = 60;
    QRect userClip = {};  // empty: none
};

QPolygonF Points(const Case& c) {
    QPolygonF pts;
    const double left = 35, right = c.size.width() - 6, top = 6, bottom = c.size.height() - 6;
    for (int i = 0; i < c.points; ++i) {
        const double share = c.points > 1 ? static_cast<double>(i) / (c.points - 1) : 0.5;
        pts << QPointF(left + (right - left) * share, bottom - (bottom - top) * c.value(i));
    }
    return pts;
}

QImage Draw(const Case& c, const std::function<void(QPainter&, const QPolygonF&)>& draw) {
    QImage img(c.size, QImage::Format_RGB32);
    img.fill(QColor(250, 251, 253));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 50, 168), c.penWidth));
    if (!c.userClip.isEmpty()) p.setClipRect(c.userClip);
    draw(p, Points(c));
    EXPECT_EQ(p.hasClipping(), !c.userClip.isEmpty()) << c.name << ": the painter's clip was not restored";
    return img;
}

double Noise(int i, unsigned seed, double amplitude) {
    std::mt19937 rng(seed + static_cast<unsigned>(i) * 7919u);
    return amplitude * (rng() % 1000) / 1000.0;
}

void MakeApplication() {
    static int argc = 1;
    static char name[] = "polyline_pieces_test";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!QCoreApplication::instance()) new QApplication(argc, argv);
}

const QSize kChart(793, 129);

std::vector<Case> Cases() {
    return {
        {"a busy minute", kChart, 2, [](int i) { return Noise(i, 1, 1.0); }},
        {"an idle minute", kChart, 2, [](int i) { return Noise(i, 2, 0.03); }},
        {"a flat line", kChart, 2, [](int) { return 0.25; }},
        {"0 and 100 in turn", kChart, 2, [](int i) { return i % 2 ? 1.0 : 0.0; }},
        {"one spike", kChart, 2, [](int i) { return i == 31 ? 1.0 : 0.02; }},
        {"points closer than the pen's reach", QSize(120, 129), 2, [](int i) { return Noise(i, 3, 1.0); }},
        {"a wide pen", kChart, 7, [](int i) { return Noise(i, 4, 1.0); }},
        {"fewer points than two pieces", kChart, 2, [](int i) { return Noise(i, 5, 1.0); }, 8},
        {"just enough points for two pieces", kChart, 2, [](int i) { return Noise(i, 6, 1.0); }, 9},
        {"points on whole pixel columns", QSize(95, 129), 2, [](int i) { return Noise(i, 7, 1.0); }, 55},
        {"inside a clip of the caller's", kChart, 2, [](int i) { return Noise(i, 8, 1.0); }, 60, QRect(100, 20, 333, 90)},
    };
}

TEST(PolylinePieces, DrawTheSamePixelsAsOneLine) {
    MakeApplication();
    for (const Case& c : Cases()) {
        const QImage whole = Draw(c, [](QPainter& p, const QPolygonF& pts) { p.drawPolyline(pts); });
        const QImage pieces = Draw(c, [&c](QPainter& p, const QPolygonF& pts) { ui::qt::DrawPolylineInPieces(p, pts, c.size); });
        int differing = 0;
        QPoint first(-1, -1);
        for (int y = 0; y < whole.height(); ++y) {
            for (int x = 0; x < whole.width(); ++x) {
                if (whole.pixel(x, y) != pieces.pixel(x, y) && differing++ == 0) first = QPoint(x, y);
            }
        }
        EXPECT_EQ(differing, 0) << c.name << ": first at " << first.x() << "," << first.y();
        // The line was drawn at all (a fixture that draws nothing would pass the comparison).
        EXPECT_NE(whole, Draw(c, [](QPainter&, const QPolygonF&) {})) << c.name;
    }
}

// Every pixel that drawing the line (or a lone point's dot) changes lies in its region.
TEST(PolylinePieces, RegionHoldsEveryPixelTheLineChanges) {
    MakeApplication();
    std::vector<Case> cases = Cases();
    cases.push_back({"a lone point", kChart, 2, [](int) { return 0.5; }, 1});
    cases.push_back({"a lone point at the top", kChart, 2, [](int) { return 1.0; }, 1});
    for (const Case& c : cases) {
        const auto draw = [&c](QPainter& p, const QPolygonF& pts) {
            p.setBrush(p.pen().color());
            if (pts.size() == 1) p.drawEllipse(pts.front(), 2, 2);
            else p.drawPolyline(pts);
        };
        const QImage line = Draw(c, draw);
        const QImage background = Draw(c, [](QPainter&, const QPolygonF&) {});
        const QRect region = ui::qt::PolylineBounds(Points(c), c.penWidth, 2);
        int changed = 0, outside = 0;
        QPoint first(-1, -1);
        for (int y = 0; y < line.height(); ++y) {
            for (int x = 0; x < line.width(); ++x) {
                if (line.pixel(x, y) == background.pixel(x, y)) continue;
                ++changed;
                if (!region.contains(QPoint(x, y)) && outside++ == 0) first = QPoint(x, y);
            }
        }
        EXPECT_GT(changed, 0) << c.name;
        EXPECT_EQ(outside, 0) << c.name << ": first at " << first.x() << "," << first.y();
        // Along an idle minute's line the region is a low band, not the whole picture.
        if (c.name == std::string("an idle minute")) {
            const long area = static_cast<long>(region.width()) * region.height();
            EXPECT_LT(area, static_cast<long>(c.size.width()) * c.size.height() / 4) << c.name;
        }
    }
}

}  // namespace
