// The Qt widgets that stand for forms and for the controls that Qt has no widget for.
#pragma once
#include <QMouseEvent>
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <vector>

#include "ui/control.h"
#include "ui/form.h"
#include "ui/timer_schedule.h"

namespace ui::qt {

// A form's top-level window: paints the background picture and turns window-system
// requests into form events.
class FormWindow : public QWidget {
public:
    FormWindow(Form& f, float twipsPerPixel);
    Form& form;

    // The form's timers, on one system timer at their base interval.
    std::unique_ptr<TimerSchedule> timers;
    QTimer baseTimer;
    // Starts, restarts or stops the system timer after the base interval may have changed.
    void applyTimers();

protected:
    void paintEvent(QPaintEvent*) override;
    void closeEvent(QCloseEvent* e) override;
    void moveEvent(QMoveEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void changeEvent(QEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void reportGeometry();
    void relayMouse(QMouseEvent* e, bool released);
    // Kept as the file holds it (a palette picture keeps one byte a pixel): converting it to
    // the screen's format would hold four. Only the painted part is converted, at each paint.
    QImage background_;
    bool backgroundLoaded_ = false;
    QImage stretched_;  // the background at the window's size
    float tpp_;
};

// A mouse event as the handlers receive it: button and shift codes, position in twips.
struct MouseArgs {
    int16_t button = 0, shift = 0;
    float x = 0, y = 0;
};
// singleButton: the button that changed (press, release), else the buttons held (move).
MouseArgs MouseArgsOf(const QMouseEvent* me, bool singleButton, float twipsPerPixel);

// Turns mouse input on a control into its MouseDown/MouseMove/MouseUp, Click and DblClick
// events, with positions in twips inside the control.
class MouseRelay : public QObject {
public:
    MouseRelay(Control& c, float twipsPerPixel, bool clicks);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    Control& control_;
    float tpp_;
    bool clicks_;
    bool afterDouble_ = false;  // the next release ends a double-click
};

class LineWidget : public QWidget {
public:
    LineWidget(const Line& line, QPointF from, QPointF to, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor color_;
    QPointF from_, to_;
};

class ShapeWidget : public QWidget {
public:
    ShapeWidget(const Shape& shape, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    const Shape& shape_;
};

// A line chart of the Chart control's points: oldest left, newest right, 0 to 100, gaps where
// a point is empty. Drawn with QPainter over a cached grid: it is redrawn every second for
// weeks, so it must cost next to nothing.
class ChartWidget : public QWidget {
public:
    ChartWidget(const Chart& chart, QWidget* parent);
    // Redraws the points once the current handler has returned, however many changed.
    void scheduleUpdate();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    static constexpr qreal kPenWidth = 2;
    static constexpr qreal kDotRadius = 2;
    static inline const QColor kLineColor{40, 50, 168};

    QRectF plotArea() const;
    QPointF pointAt(int row, double value) const;
    std::vector<QPolygonF> runs() const;
    QRect lineBounds() const;  // the pixels the line as it is now may cover
    void drawGrid();

    const Chart& chart_;
    QPixmap grid_;
    QRegion painted_;  // the pixels the line on screen may cover
    mutable QRectF area_;   // the plot area within the axis labels
    mutable QSize areaFor_;  // the size it was measured for
    bool pending_ = false;
};

QFont ToQFont(const Font& f);
QPixmap LoadPicture(const std::string& name);

}  // namespace ui::qt
