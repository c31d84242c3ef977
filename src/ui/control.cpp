#include "ui/control.h"

#include "ui/application.h"
#include "ui/form.h"
#include "ui/host.h"
#include "ui/trace.h"

namespace ui {

Control::Control(Form& form, std::string name, ControlKind kind, Rect r, Control* container)
    : rect(r), form_(form), name_(std::move(name)), kind_(kind), container_(container) {
    font = form.font;
    form.add(this);
}

void Control::notify() {
    if (form_.loaded()) form_.host().controlChanged(*this);
}

void Control::setEnabled(bool on) {
    if (enabled_ == on) return;
    enabled_ = on;
    notify();
}

void Control::setVisible(bool on) {
    if (visible_ == on) return;
    visible_ = on;
    notify();
}

void CaptionedControl::setCaption(std::string text) {
    if (caption_ == text) return;
    caption_ = std::move(text);
    if (kind() == ControlKind::Label && TraceEnabled()) Trace(form().name() + "." + name() + ": " + caption_);
    notify();
}

Label::Label(Form& f, std::string name, Rect r, std::string caption, Control* container)
    : CaptionedControl(f, std::move(name), ControlKind::Label, r, container) {
    setCaption(std::move(caption));
}

Button::Button(Form& f, std::string name, Rect r, std::string caption, Control* container)
    : CaptionedControl(f, std::move(name), ControlKind::Button, r, container) {
    setCaption(std::move(caption));
}

Frame::Frame(Form& f, std::string name, Rect r, std::string caption, Control* container)
    : CaptionedControl(f, std::move(name), ControlKind::Frame, r, container) {
    setCaption(std::move(caption));
}

CheckBox::CheckBox(Form& f, std::string name, Rect r, std::string caption, Control* container)
    : CaptionedControl(f, std::move(name), ControlKind::CheckBox, r, container) {
    setCaption(std::move(caption));
}

void CheckBox::setValue(int16_t v) {
    if (value_ == v) return;
    value_ = v;
    notify();
}

void CheckBox::userSet(int16_t v) {
    value_ = v;
    if (Click) Click();
}

OptionButton::OptionButton(Form& f, std::string name, Rect r, std::string caption, Control* container)
    : CaptionedControl(f, std::move(name), ControlKind::OptionButton, r, container) {
    setCaption(std::move(caption));
}

void OptionButton::setValue(bool v) {
    if (v) {
        for (Control* c : form().controls()) {
            if (c != this && c->kind() == ControlKind::OptionButton && c->container() == container()) {
                static_cast<OptionButton*>(c)->setValue(false);
            }
        }
    }
    if (value_ == v) return;
    value_ = v;
    notify();
}

void OptionButton::userSelect() {
    setValue(true);
    if (Click) Click();
}

TextBox::TextBox(Form& f, std::string name, Rect r, std::string text, bool multi, Control* container)
    : Control(f, std::move(name), ControlKind::TextBox, r, container), multiLine(multi), text_(std::move(text)) {}

void TextBox::setText(std::string t) {
    if (text_ == t) return;
    text_ = std::move(t);
    if (TraceEnabled()) Trace("text " + form().name() + "." + name() + ": " + TraceText(text_));
    notify();
    if (Change) Change();
}

void TextBox::userSet(std::string t) {
    text_ = std::move(t);
    if (Change) Change();
}

DatePicker::DatePicker(Form& f, std::string name, Rect r, Control* container)
    : Control(f, std::move(name), ControlKind::DatePicker, r, container) {}

void DatePicker::setValue(platform::Date d) {
    if (value_ == d) return;
    value_ = d;
    notify();
}

void DatePicker::userSet(platform::Date d) {
    value_ = d;
    if (Change) Change();
}

ProgressBar::ProgressBar(Form& f, std::string name, Rect r, Control* container)
    : Control(f, std::move(name), ControlKind::ProgressBar, r, container) {}

void ProgressBar::setMin(int v) { min_ = v; notify(); }
void ProgressBar::setMax(int v) { max_ = v; notify(); }
void ProgressBar::setValue(int v) { value_ = v; notify(); }

Chart::Chart(Form& f, std::string name, Rect r, int points, Control* container)
    : Control(f, std::move(name), ControlKind::Chart, r, container), points_(static_cast<size_t>(points)) {}

void Chart::setRow(int row) {
    if (row >= 1 && row <= pointCount()) row_ = row;
}

void Chart::setData(std::optional<double> v) {
    points_[static_cast<size_t>(row_ - 1)] = v;
    notify();
}

Image::Image(Form& f, std::string name, Rect r, std::string pic, Control* container)
    : Control(f, std::move(name), ControlKind::Image, r, container), picture(std::move(pic)) {}

void Image::setBorderStyle(int16_t style) {
    if (borderStyle_ == style) return;
    borderStyle_ = style;
    notify();
}

Line::Line(Form& f, std::string name, float ax1, float ay1, float ax2, float ay2, Control* container)
    : Control(f, std::move(name), ControlKind::Line, Rect{}, container), x1(ax1), y1(ay1), x2(ax2), y2(ay2) {
    rect = Rect{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) - std::min(x1, x2),
                std::max(y1, y2) - std::min(y1, y2)};
}

Shape::Shape(Form& f, std::string name, Rect r, Control* container)
    : Control(f, std::move(name), ControlKind::Shape, r, container) {}

}  // namespace ui
