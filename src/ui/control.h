// Toolkit-neutral controls. A control holds its design geometry and its
// current state; a Host realises it on a real toolkit. Setters that change
// what the user sees notify the Host; the Host writes user input into the
// control before it fires the control's event.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/date.h"
#include "ui/geometry.h"

namespace ui {

class Form;

enum class ControlKind {
    Label, TextBox, Button, CheckBox, OptionButton, DatePicker, ProgressBar,
    Chart, Image, Frame, Line, Shape, Timer, Menu
};

using MouseHandler = std::function<void(int16_t button, int16_t shift, float x, float y)>;

class Control {
public:
    Control(Form& form, std::string name, ControlKind kind, Rect rect, Control* container);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    ControlKind kind() const { return kind_; }
    Form& form() const { return form_; }
    Control* container() const { return container_; }  // a Frame, or null for the form

    // Design attributes: set while the form is built, read by the Host when it realises the form.
    Rect rect;
    Font font;
    int tabIndex = -1;  // -1: not a tab stop
    Alignment alignment = Alignment::Left;
    std::string toolTip;
    std::optional<Color> foreColor;
    MousePointer mousePointer = MousePointer::Default;

    bool enabled() const { return enabled_; }
    void setEnabled(bool on);
    bool visible() const { return visible_; }
    void setVisible(bool on);

    std::function<void()> Click, DblClick, Change;
    MouseHandler MouseDown, MouseMove, MouseUp;

    void* hostData = nullptr;  // the Host's widget for this control

protected:
    void notify();

private:
    Form& form_;
    std::string name_;
    ControlKind kind_;
    Control* container_;
    bool enabled_ = true;
    bool visible_ = true;
};

// A control that shows a caption: labels, buttons, check and option buttons, frames.
class CaptionedControl : public Control {
public:
    using Control::Control;
    const std::string& caption() const { return caption_; }
    void setCaption(std::string text);

private:
    std::string caption_;
};

class Label : public CaptionedControl {
public:
    Label(Form& f, std::string name, Rect r, std::string caption, Control* container = nullptr);
};

class Button : public CaptionedControl {
public:
    Button(Form& f, std::string name, Rect r, std::string caption, Control* container = nullptr);
    bool isDefault = false;  // Enter presses it
    bool isCancel = false;   // Escape presses it
};

class Frame : public CaptionedControl {
public:
    Frame(Form& f, std::string name, Rect r, std::string caption, Control* container = nullptr);
    // false: a plain container without border or caption, in the system's window colour, such
    // as a picture box that holds a group of option buttons.
    bool border = true;
};

class CheckBox : public CaptionedControl {
public:
    CheckBox(Form& f, std::string name, Rect r, std::string caption, Control* container = nullptr);
    int16_t value() const { return value_; }  // 0 unchecked, 1 checked, 2 greyed
    void setValue(int16_t v);
    void userSet(int16_t v);  // Host: the user toggled it; fires Click

private:
    int16_t value_ = 0;
};

class OptionButton : public CaptionedControl {
public:
    OptionButton(Form& f, std::string name, Rect r, std::string caption, Control* container = nullptr);
    bool value() const { return value_; }
    void setValue(bool v);   // selecting one clears the others of its container
    void userSelect();       // Host: the user picked it; fires Click

private:
    bool value_ = false;
};

class TextBox : public Control {
public:
    TextBox(Form& f, std::string name, Rect r, std::string text, bool multiLine, Control* container = nullptr);
    const std::string& text() const { return text_; }
    void setText(std::string t);
    void userSet(std::string t);  // Host: the user typed; fires Change
    const bool multiLine;
    bool locked = false;

private:
    std::string text_;
};

class DatePicker : public Control {
public:
    DatePicker(Form& f, std::string name, Rect r, Control* container = nullptr);
    platform::Date value() const { return value_; }
    void setValue(platform::Date d);
    void userSet(platform::Date d);  // fires Change

private:
    platform::Date value_{};
};

class ProgressBar : public Control {
public:
    ProgressBar(Form& f, std::string name, Rect r, Control* container = nullptr);
    int min() const { return min_; }
    int max() const { return max_; }
    int value() const { return value_; }
    void setMin(int v);
    void setMax(int v);
    void setValue(int v);

private:
    int min_ = 0, max_ = 100, value_ = 0;
};

// A line chart of one series; each point holds a value or is empty.
class Chart : public Control {
public:
    Chart(Form& f, std::string name, Rect r, int points, Control* container = nullptr);
    int pointCount() const { return static_cast<int>(points_.size()); }
    // Rows are numbered from 1, as the chart's data grid numbers them.
    void setRow(int row);
    int row() const { return row_; }
    void setData(std::optional<double> v);  // the selected row's value
    std::optional<double> point(int row) const { return points_.at(row - 1); }
    const std::vector<std::optional<double>>& points() const { return points_; }
    double minimum = 0, maximum = 100;

private:
    std::vector<std::optional<double>> points_;
    int row_ = 1;
};

class Image : public Control {
public:
    Image(Form& f, std::string name, Rect r, std::string picture, Control* container = nullptr);
    const std::string picture;  // resource name, e.g. "logo.png"
    // 0: no border, 1: a single-line border around the picture.
    int16_t borderStyle() const { return borderStyle_; }
    void setBorderStyle(int16_t style);

private:
    int16_t borderStyle_ = 0;
};

// A straight line from (x1, y1) to (x2, y2).
class Line : public Control {
public:
    Line(Form& f, std::string name, float x1, float y1, float x2, float y2, Control* container = nullptr);
    float x1, y1, x2, y2;
    Color color{128, 128, 128};
};

// A rectangle drawn behind other controls.
class Shape : public Control {
public:
    Shape(Form& f, std::string name, Rect r, Control* container = nullptr);
    Color borderColor{160, 160, 160};
    std::optional<Color> fillColor;
};

}  // namespace ui
