#include "ui/qt/qt_widgets.h"

#include <algorithm>

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "ui/application.h"
#include "ui/qt/polyline_pieces.h"

namespace ui::qt {

QFont ToQFont(const Font& f) {
    QFont q(QString::fromStdString(f.name));
    q.setPointSizeF(f.size);
    q.setBold(f.bold);
    q.setUnderline(f.underline);
    return q;
}

QPixmap LoadPicture(const std::string& name) { return QPixmap(":/assets/" + QString::fromStdString(name)); }

FormWindow::FormWindow(Form& f, float twipsPerPixel) : form(f), tpp_(twipsPerPixel) {
    setMouseTracking(true);  // the form's MouseMove, over its own background
}

void FormWindow::applyTimers() {
    const int base = timers ? timers->baseInterval() : 0;
    if (base <= 0) {
        baseTimer.stop();
    } else if (!baseTimer.isActive() || baseTimer.interval() != base) {
        baseTimer.start(base);  // a running timer keeps its phase while its base stays
    }
}

// Only the part that needs painting is drawn: a label whose caption changed repaints the
// background under it, not the whole window. A stretched picture is scaled once per size.
// The picture is decoded at the first paint: a window that stays hidden (the dashboard in the
// tray, a form loaded for its timers) never holds it in memory.
void FormWindow::paintEvent(QPaintEvent* e) {
    if (!backgroundLoaded_) {
        backgroundLoaded_ = true;
        if (!form.picture.empty()) background_ = QImage(":/assets/" + QString::fromStdString(form.picture));
    }
    if (background_.isNull()) return;
    QPainter p(this);
    const QRect part = e->rect();
    if (form.stretchPicture && stretched_.size() != size()) stretched_ = background_.scaled(size());
    const QImage& picture = form.stretchPicture ? stretched_ : background_;
    // The part is converted on its own, by Qt's table lookup, and then copied to the window:
    // drawing a palette picture straight through the painter blends it pixel by pixel, five
    // times the work. A band of rows at a time, so that a whole window's paint (its first
    // one) does not hold a screen-format copy of the whole picture either.
    constexpr int kBandRows = 32;
    const QImage::Format screen = picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    const QRect inside = part & picture.rect();
    for (int top = inside.top(); top <= inside.bottom(); top += kBandRows) {
        const QRect band(inside.left(), top, inside.width(), std::min(kBandRows, inside.bottom() + 1 - top));
        p.drawImage(band.topLeft(), picture.copy(band).convertToFormat(screen));
    }
}

// Mouse input on the form's own background (controls keep theirs, see WA_NoMousePropagation).
void FormWindow::mouseMoveEvent(QMouseEvent* e) { relayMouse(e, false); }
void FormWindow::mouseReleaseEvent(QMouseEvent* e) { relayMouse(e, true); }

void FormWindow::relayMouse(QMouseEvent* e, bool released) {
    const MouseArgs a = MouseArgsOf(e, released, tpp_);
    Form* f = &form;
    app().dispatch([f, a, released] {
        if (released) f->Form_MouseUp(a.button, a.shift, a.x, a.y);
        else f->Form_MouseMove(a.button, a.shift, a.x, a.y);
    });
}

// A close request is the form's unload request; the form decides what happens.
void FormWindow::closeEvent(QCloseEvent* e) {
    e->ignore();
    Form* f = &form;
    app().dispatch([f] { f->hostCloseRequest(); });
}

void FormWindow::reportGeometry() {
    const QRect g = frameGeometry();
    Form* f = &form;
    const float t = tpp_;
    app().dispatch([=] { f->hostGeometry(g.x() * t, g.y() * t, g.width() * t, g.height() * t); });
}

void FormWindow::moveEvent(QMoveEvent*) { reportGeometry(); }

void FormWindow::resizeEvent(QResizeEvent*) { reportGeometry(); }

void FormWindow::changeEvent(QEvent* e) {
    if (e->type() == QEvent::WindowStateChange) {
        const Qt::WindowStates s = windowState();
        const WindowState state = s & Qt::WindowMinimized   ? WindowState::Minimized
                                  : s & Qt::WindowMaximized ? WindowState::Maximized
                                                            : WindowState::Normal;
        Form* f = &form;
        app().dispatch([f, state] { f->hostWindowState(state); });
    }
    QWidget::changeEvent(e);
}

MouseArgs MouseArgsOf(const QMouseEvent* me, bool singleButton, float tpp) {
    MouseArgs a;
    const Qt::MouseButtons held = singleButton ? Qt::MouseButtons(me->button()) : me->buttons();
    if (held & Qt::LeftButton) a.button |= kLeftButton;
    if (held & Qt::RightButton) a.button |= kRightButton;
    if (held & Qt::MiddleButton) a.button |= kMiddleButton;
    if (me->modifiers() & Qt::ShiftModifier) a.shift |= 1;
    if (me->modifiers() & Qt::ControlModifier) a.shift |= 2;
    if (me->modifiers() & Qt::AltModifier) a.shift |= 4;
    a.x = static_cast<float>(me->position().x()) * tpp;
    a.y = static_cast<float>(me->position().y()) * tpp;
    return a;
}

MouseRelay::MouseRelay(Control& c, float twipsPerPixel, bool clicks)
    : QObject(nullptr), control_(c), tpp_(twipsPerPixel), clicks_(clicks) {}

bool MouseRelay::eventFilter(QObject* watched, QEvent* e) {
    const QEvent::Type t = e->type();
    if (t != QEvent::MouseButtonPress && t != QEvent::MouseButtonRelease && t != QEvent::MouseMove &&
        t != QEvent::MouseButtonDblClick) {
        return QObject::eventFilter(watched, e);
    }
    const MouseArgs a = MouseArgsOf(static_cast<QMouseEvent*>(e), t != QEvent::MouseMove, tpp_);
    // A double-click arrives as press, release, double-click, release. Its events come in the
    // order a Windows program gets them: MouseDown, MouseUp, Click, DblClick, MouseUp; the
    // second release is no click of its own.
    const bool afterDouble = t == QEvent::MouseButtonRelease && afterDouble_;
    if (t == QEvent::MouseButtonDblClick) afterDouble_ = true;
    else if (t == QEvent::MouseButtonRelease || t == QEvent::MouseButtonPress) afterDouble_ = false;
    Control* c = &control_;
    const bool clicks = clicks_;
    app().dispatch([=] {
        switch (t) {
            case QEvent::MouseButtonPress:
                if (c->MouseDown) c->MouseDown(a.button, a.shift, a.x, a.y);
                break;
            case QEvent::MouseMove:
                if (c->MouseMove) c->MouseMove(a.button, a.shift, a.x, a.y);
                break;
            case QEvent::MouseButtonRelease:
                if (c->MouseUp) c->MouseUp(a.button, a.shift, a.x, a.y);
                if (clicks && !afterDouble && a.button == kLeftButton && c->Click) c->Click();
                break;
            default:
                if (c->DblClick) c->DblClick();
                break;
        }
    });
    return false;
}

LineWidget::LineWidget(const Line& line, QPointF from, QPointF to, QWidget* parent)
    : QWidget(parent), color_(line.color.r, line.color.g, line.color.b), from_(from), to_(to) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(QPen(color_, 1));
    p.drawLine(from_, to_);
}

ShapeWidget::ShapeWidget(const Shape& shape, QWidget* parent) : QWidget(parent), shape_(shape) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const Color& b = shape_.borderColor;
    p.setPen(QPen(QColor(b.r, b.g, b.b), 1));
    if (shape_.fillColor) {
        const Color& f = *shape_.fillColor;
        p.setBrush(QColor(f.r, f.g, f.b, 200));
    }
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
}

ChartWidget::ChartWidget(const Chart& chart, QWidget* parent) : QWidget(parent), chart_(chart) {
    setAttribute(Qt::WA_OpaquePaintEvent);  // the grid covers every pixel
}

// The axis labels' width is measured once per size, not for every point of every paint.
QRectF ChartWidget::plotArea() const {
    if (area_.isNull() || areaFor_ != size()) {
        const int labelWidth = fontMetrics().horizontalAdvance("100%") + 6;
        area_ = QRectF(labelWidth, 6, width() - labelWidth - 6, height() - 12);
        areaFor_ = size();
    }
    return area_;
}

QPointF ChartWidget::pointAt(int row, double value) const {
    const QRectF& area = plotArea();
    const int n = std::max(2, chart_.pointCount());
    const double span = chart_.maximum - chart_.minimum;
    const double share = span > 0 ? (std::clamp(value, chart_.minimum, chart_.maximum) - chart_.minimum) / span : 0;
    return QPointF(area.left() + area.width() * (row - 1) / (n - 1), area.bottom() - area.height() * share);
}

void ChartWidget::resizeEvent(QResizeEvent*) {
    drawGrid();
    update();  // the points move with the size
}

// The background, grid and axis labels change only with the size, so they are drawn once.
void ChartWidget::drawGrid() {
    grid_ = QPixmap(size());
    grid_.fill(QColor(250, 251, 253));
    QPainter p(&grid_);
    const QRectF area = plotArea();
    QFont small = font();
    small.setPointSizeF(7);
    p.setFont(small);
    p.setPen(QColor(225, 228, 235));
    for (int i = 0; i <= 6; ++i) {
        const double x = area.left() + area.width() * i / 6;
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    }
    for (int i = 0; i <= 4; ++i) {
        const double y = area.bottom() - area.height() * i / 4;
        p.setPen(QColor(225, 228, 235));
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        p.setPen(QColor(100, 106, 120));
        p.drawText(QRectF(0, y - 8, area.left() - 4, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QString("%1%").arg(25 * i));
    }
    p.setPen(QColor(170, 176, 190));
    p.drawRect(area);
}

// The chart's filled points as runs: empty points leave gaps instead of being bridged.
std::vector<QPolygonF> ChartWidget::runs() const {
    std::vector<QPolygonF> result;
    QPolygonF run;
    for (int row = 1; row <= chart_.pointCount(); ++row) {
        if (auto v = chart_.point(row)) {
            run.append(pointAt(row, *v));
        } else if (!run.isEmpty()) {
            result.push_back(std::move(run));
            run = QPolygonF();
        }
    }
    if (!run.isEmpty()) result.push_back(std::move(run));
    return result;
}

QRect ChartWidget::lineBounds() const {
    QRect bounds;
    for (const QPolygonF& run : runs()) bounds |= PolylineBounds(run, kPenWidth, kDotRadius);
    return bounds;
}

// Only the rectangle around the line as it was and as it is now is repainted: on an idle
// machine the line runs along the bottom, and the rest of the grid is neither drawn nor sent to
// the display again. One rectangle keeps the painter's clip simple and the display's requests
// few.
void ChartWidget::scheduleUpdate() {
    if (pending_) return;
    pending_ = true;
    QTimer::singleShot(0, this, [this] {
        pending_ = false;
        update((painted_ | lineBounds()).boundingRect());
    });
}

// One polyline per run of filled points; a lone point shows as a dot.
void ChartWidget::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    if (grid_.size() != size()) drawGrid();
    p.drawPixmap(0, 0, grid_);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kLineColor, kPenWidth));
    p.setBrush(kLineColor);
    QRect line;
    for (const QPolygonF& run : runs()) {
        if (run.size() == 1) p.drawEllipse(run.front(), kDotRadius, kDotRadius);
        else DrawPolylineInPieces(p, run, size());
        line |= PolylineBounds(run, kPenWidth, kDotRadius);
    }
    // On screen now: the line inside the part just painted, and outside it whatever an earlier
    // paint left there.
    painted_ = (painted_ - e->region()) | line;
}

}  // namespace ui::qt
