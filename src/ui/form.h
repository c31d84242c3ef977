// A window: its design attributes, controls and lifecycle. Subclasses add
// their controls as members and their handlers as member functions named
// after control and event (cmdExit_Click, Form_Load).
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/geometry.h"

namespace ui {

class Host;

class Form {
public:
    explicit Form(std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }
    const std::vector<Control*>& controls() const { return controls_; }
    Control* control(const std::string& name) const;

    // Design attributes.
    float clientWidth = 4800, clientHeight = 3600;  // twips
    Font font;
    std::string icon;     // resource name of the window icon
    std::string picture;  // resource name of the background picture, or empty
    bool stretchPicture = true;  // false: drawn at its own size from the top left, cut off where larger
    bool centered = true;
    bool resizable = false;
    bool hasMaximizeBox = false;

    // Runtime state.
    const std::string& caption() const { return caption_; }
    void setCaption(std::string text);
    bool loaded() const { return loaded_; }
    bool visible() const { return visible_; }
    WindowState windowState() const { return state_; }
    void setWindowState(WindowState s);
    // Outer position and size in twips, as the Host last reported or the code last set them.
    float left() const { return left_; }
    float top() const { return top_; }
    float width() const { return width_; }
    float height() const { return height_; }
    void move(float left, float top);
    void resize(float width, float height);

    void Load();    // realise and run Form_Load, once
    void Show();    // load if needed, then show modeless and bring forward
    void Hide();
    bool Unload();  // Form_Unload may cancel; an unloaded form is discarded
    void Refresh();

    virtual void Form_Initialize() {}
    virtual void Form_Load() {}
    virtual void Form_Unload(int16_t& cancel) { (void)cancel; }
    virtual void Form_Resize() {}
    virtual void Form_MouseMove(int16_t button, int16_t shift, float x, float y) { (void)button, (void)shift, (void)x, (void)y; }
    virtual void Form_MouseUp(int16_t button, int16_t shift, float x, float y) { (void)button, (void)shift, (void)x, (void)y; }

    // Called by the Host.
    void hostGeometry(float left, float top, float width, float height);
    void hostWindowState(WindowState s);
    void hostCloseRequest() { Unload(); }

    Host& host() const;
    void* hostData = nullptr;

private:
    friend class Control;
    void add(Control* c) { controls_.push_back(c); }

    std::string name_;
    std::string caption_;
    std::vector<Control*> controls_;
    bool loaded_ = false;
    bool visible_ = false;
    WindowState state_ = WindowState::Normal;
    float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
};

}  // namespace ui
