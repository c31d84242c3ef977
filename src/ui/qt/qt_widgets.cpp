#include "ui/qt/qt_widgets.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "ui/application.h"

namespace ui::qt {

QFont ToQFont(const Font& f) {
    QFont q(QString::fromStdString(f.name));
    q.setPointSizeF(f.size);
    q.setBold(f.bold);
    return q;
}

QPixmap LoadPicture(const std::string& name) { return QPixmap(":/assets/" + QString::fromStdString(name)); }

FormWindow::FormWindow(Form& f, float twipsPerPixel) : form(f), tpp_(twipsPerPixel) {
    if (!f.picture.empty()) background_ = LoadPicture(f.picture);
}

void FormWindow::paintEvent(QPaintEvent*) {
    if (background_.isNull()) return;
    QPainter p(this);
    p.drawPixmap(rect(), background_);
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

MouseRelay::MouseRelay(Control& c, float twipsPerPixel, bool clicks)
    : QObject(nullptr), control_(c), tpp_(twipsPerPixel), clicks_(clicks) {}

bool MouseRelay::eventFilter(QObject* watched, QEvent* e) {
    const QEvent::Type t = e->type();
    if (t != QEvent::MouseButtonPress && t != QEvent::MouseButtonRelease && t != QEvent::MouseMove &&
        t != QEvent::MouseButtonDblClick) {
        return QObject::eventFilter(watched, e);
    }
    auto* me = static_cast<QMouseEvent*>(e);
    int16_t button = 0;
    const Qt::MouseButtons held = t == QEvent::MouseMove ? me->buttons() : Qt::MouseButtons(me->button());
    if (held & Qt::LeftButton) button |= kLeftButton;
    if (held & Qt::RightButton) button |= kRightButton;
    if (held & Qt::MiddleButton) button |= kMiddleButton;
    int16_t shift = 0;
    if (me->modifiers() & Qt::ShiftModifier) shift |= 1;
    if (me->modifiers() & Qt::ControlModifier) shift |= 2;
    if (me->modifiers() & Qt::AltModifier) shift |= 4;
    const float x = static_cast<float>(me->position().x()) * tpp_;
    const float y = static_cast<float>(me->position().y()) * tpp_;
    Control* c = &control_;
    const bool clicks = clicks_;
    app().dispatch([=] {
        switch (t) {
            case QEvent::MouseButtonPress:
                if (c->MouseDown) c->MouseDown(button, shift, x, y);
                break;
            case QEvent::MouseMove:
                if (c->MouseMove) c->MouseMove(button, shift, x, y);
                break;
            case QEvent::MouseButtonRelease:
                if (c->MouseUp) c->MouseUp(button, shift, x, y);
                if (clicks && button == kLeftButton && c->Click) c->Click();
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

ChartWidget::ChartWidget(const Chart& chart, QWidget* parent)
    : QChartView(parent), chart_(chart), qchart_(new QChart()), axisX_(new QValueAxis()), axisY_(new QValueAxis()) {
    qchart_->legend()->hide();
    qchart_->setMargins(QMargins(2, 2, 2, 2));
    qchart_->setBackgroundRoundness(0);
    qchart_->setBackgroundBrush(QColor(250, 251, 253));
    axisX_->setRange(1, chart.pointCount());
    axisX_->setLabelsVisible(false);
    axisX_->setTickCount(7);
    axisX_->setGridLineColor(QColor(225, 228, 235));
    axisY_->setRange(chart.minimum, chart.maximum);
    axisY_->setTickCount(5);
    axisY_->setLabelFormat("%d%%");
    axisY_->setGridLineColor(QColor(225, 228, 235));
    QFont small = axisY_->labelsFont();
    small.setPointSizeF(7);
    axisY_->setLabelsFont(small);
    qchart_->addAxis(axisX_, Qt::AlignBottom);
    qchart_->addAxis(axisY_, Qt::AlignLeft);
    setChart(qchart_);
    setFrameShape(QFrame::NoFrame);
    update();
}

void ChartWidget::scheduleUpdate() {
    if (pending_) return;
    pending_ = true;
    QTimer::singleShot(0, this, [this] {
        pending_ = false;
        update();
    });
}

// One series per run of filled points, so empty points leave gaps instead of being bridged.
void ChartWidget::update() {
    std::vector<QList<QPointF>> runs;
    bool inRun = false;
    for (int row = 1; row <= chart_.pointCount(); ++row) {
        if (auto v = chart_.point(row)) {
            if (!inRun) runs.emplace_back();
            runs.back().append(QPointF(row, *v));
            inRun = true;
        } else {
            inRun = false;
        }
    }
    while (runs_.size() < runs.size()) {
        auto* s = new QLineSeries();
        s->setPen(QPen(QColor(40, 50, 168), 2));
        s->setPointsVisible(runs.size() == 1 && runs[0].size() == 1);
        qchart_->addSeries(s);
        s->attachAxis(axisX_);
        s->attachAxis(axisY_);
        runs_.push_back(s);
    }
    for (size_t i = 0; i < runs_.size(); ++i) {
        const bool single = i < runs.size() && runs[i].size() == 1;
        runs_[i]->setPointsVisible(single);  // a lone point has no line to show it
        runs_[i]->replace(i < runs.size() ? runs[i] : QList<QPointF>());
    }
}

}  // namespace ui::qt
