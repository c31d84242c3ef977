// The Host on Qt 6 Widgets: realises forms as top-level widgets at
// their design geometry, and the tray icon with QSystemTrayIcon.
#pragma once
#include <QApplication>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <map>
#include <memory>
#include <set>

class QLabel;

#include "platform/short_date.h"
#include "ui/host.h"

namespace ui::qt {

class QtHost : public QObject, public Host {
public:
    QtHost();
    ~QtHost() override;

    void realize(Form& f) override;
    void destroy(Form& f) override;
    void show(Form& f) override;
    void hide(Form& f) override;
    void formChanged(Form& f) override;
    void formMoved(Form& f) override;
    void controlChanged(Control& c) override;
    void refresh(Form& f) override;

    MsgBoxResult msgBox(const std::string& text, MsgBoxButtons buttons, MsgBoxIcon icon,
                        const std::string& title) override;
    void doEvents() override;

    bool trayIcon(TrayRequest request, const TrayIcon& record) override;
    void popupMenu(Menu& menu, Form& owner) override;
    void setForeground(Form& f) override;

    float screenWidth() const override;
    float screenHeight() const override;
    float twipsPerPixelX() const override { return tpp_; }
    float twipsPerPixelY() const override { return tpp_; }

    [[noreturn]] void endProcess(int code) override;

    // Un-minimises (restore) or raises the window the user sees; hidden windows stay hidden.
    void bringForwardShownWindow(bool restore);

    int px(float twips) const;

private:
    void applyControl(Control& c);
    void fitLabel(const Control& c, QLabel& l) const;
    void applyGeometry(Form& f);
    void createTrayIcon();
    void trayUnavailable();

    float tpp_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    TrayIcon trayRecord_;
    QTimer trayRetry_;
    int trayAttempts_ = 0;
    bool noTrayHost_ = false;
    std::set<Form*> hiddenToTray_;
    std::set<Form*> foregroundOnShow_;
};

// The Qt display format of the user's short date format ("M/d/yyyy", "yyyy'. 'MM'. 'dd'.'").
QString QtDatePicture(const platform::ShortDateFormat& format);

}  // namespace ui::qt
