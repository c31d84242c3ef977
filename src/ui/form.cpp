#include "ui/form.h"

#include "ui/application.h"
#include "ui/host.h"
#include "ui/trace.h"

namespace ui {

Form::Form(std::string name) : name_(std::move(name)) {}

Form::~Form() {
    if (loaded_) host().destroy(*this);
}

Host& Form::host() const { return app().host(); }

Control* Form::control(const std::string& n) const {
    for (Control* c : controls_) {
        if (c->name() == n) return c;
    }
    return nullptr;
}

void Form::setCaption(std::string text) {
    if (caption_ != text && TraceEnabled()) Trace("caption " + name_ + ": " + text);
    caption_ = std::move(text);
    if (loaded_) host().formChanged(*this);
}

void Form::setWindowState(WindowState s) {
    if (state_ == s) return;
    state_ = s;
    if (loaded_) host().formChanged(*this);
}

void Form::move(float l, float t) {
    left_ = l;
    top_ = t;
    if (loaded_) host().formMoved(*this);
}

void Form::resize(float w, float h) {
    width_ = w;
    height_ = h;
    if (loaded_) host().formMoved(*this);
    Form_Resize();
}

void Form::Load() {
    if (loaded_) return;
    loaded_ = true;
    host().realize(*this);
    Form_Load();
}

void Form::Show() {
    Load();
    if (!loaded_) return;  // Form_Load unloaded it again
    visible_ = true;
    if (TraceEnabled()) Trace("show " + name_ + ": " + caption_);
    host().show(*this);
}

void Form::Hide() {
    if (visible_ && TraceEnabled()) Trace("hide " + name_);
    visible_ = false;
    if (loaded_) host().hide(*this);
}

bool Form::Unload() {
    if (!loaded_) return true;
    int16_t cancel = 0;
    Form_Unload(cancel);
    if (cancel != 0) return false;
    visible_ = false;
    loaded_ = false;
    if (TraceEnabled()) Trace("unload " + name_);
    host().destroy(*this);
    app().discard(*this);
    return true;
}

void Form::Refresh() {
    if (loaded_) host().refresh(*this);
}

void Form::hostGeometry(float l, float t, float w, float h) {
    bool resized = w != width_ || h != height_;
    left_ = l;
    top_ = t;
    width_ = w;
    height_ = h;
    if (resized) Form_Resize();
}

void Form::hostWindowState(WindowState s) {
    if (state_ == s) return;
    state_ = s;
    Form_Resize();
}

}  // namespace ui
