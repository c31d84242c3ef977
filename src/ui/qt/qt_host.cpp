#include "ui/qt/qt_host.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCursor>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

#include "platform/services.h"
#include "ui/application.h"
#include "ui/trace.h"
#include "ui/qt/qt_widgets.h"

namespace ui::qt {

namespace {

// How long to wait for a notification area to appear (a desktop session may start
// its panel after the programs of its autostart).
constexpr int kTrayRetryMs = 500;
constexpr int kTrayAttempts = 20;

QWidget* widgetOf(const Control& c) { return static_cast<QWidget*>(c.hostData); }
FormWindow* windowOf(const Form& f) { return static_cast<FormWindow*>(f.hostData); }

QDate ToQDate(platform::Date d) {
    int y, m, day;
    d.toYmd(y, m, day);
    return QDate(y, m, day);
}

platform::Date FromQDate(const QDate& q) { return platform::Date::fromYmd(q.year(), q.month(), q.day()); }

}  // namespace

// The Qt display format of a short date format, its literals quoted.
QString QtDatePicture(const platform::ShortDateFormat& f) {
    auto literal = [](const std::string& s) {
        if (s.empty()) return QString();
        QString q = QString::fromStdString(s);
        q.replace("'", "''");
        return "'" + q + "'";
    };
    const QString d = f.padDay ? "dd" : "d", m = f.padMonth ? "MM" : "M", y = "yyyy";
    QString first = m, second = d, third = y;
    if (f.order == platform::ShortDateFormat::Order::DayMonthYear) first = d, second = m, third = y;
    if (f.order == platform::ShortDateFormat::Order::YearMonthDay) first = y, second = m, third = d;
    return literal(f.prefix) + first + literal(f.separator) + second +
           literal(f.separator2.empty() ? f.separator : f.separator2) + third + literal(f.suffix);
}

namespace {

// The record's tip up to its terminating NUL (the padding behind it is not part of the text).
QString TipOf(const TrayIcon& record) {
    return QString::fromLatin1(record.szTip, static_cast<int>(strnlen(record.szTip, sizeof record.szTip)));
}

Qt::Alignment ToQt(Alignment a) {
    switch (a) {
        case Alignment::Right: return Qt::AlignRight | Qt::AlignTop;
        case Alignment::Center: return Qt::AlignHCenter | Qt::AlignTop;
        case Alignment::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

}  // namespace

QtHost::QtHost() {
    // Metric-compatible stand-ins keep the design layout where the Windows fonts are missing.
    QFont::insertSubstitution("Calibri", "Carlito");
    QFont::insertSubstitution("Arial", "Liberation Sans");
    QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    tpp_ = static_cast<float>(1440.0 / (dpi > 0 ? dpi : 96.0));
    QApplication::setQuitOnLastWindowClosed(false);
    trayRetry_.setInterval(kTrayRetryMs);
    connect(&trayRetry_, &QTimer::timeout, this, [this] { createTrayIcon(); });
}

QtHost::~QtHost() = default;

int QtHost::px(float twips) const { return static_cast<int>(twips / tpp_ + 0.5f); }

float QtHost::screenWidth() const {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() * tpp_ : 0;
}

float QtHost::screenHeight() const {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() * tpp_ : 0;
}

void QtHost::realize(Form& f) {
    auto* w = new FormWindow(f, tpp_);
    f.hostData = w;
    w->setWindowTitle(QString::fromStdString(f.caption()));
    w->setFont(ToQFont(f.font));
    if (!f.icon.empty()) w->setWindowIcon(QIcon(LoadPicture(f.icon)));
    const QSize client(px(f.clientWidth), px(f.clientHeight));
    if (f.resizable) w->resize(client);
    else w->setFixedSize(client);
    Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                            Qt::WindowMinimizeButtonHint;
    if (f.hasMaximizeBox) flags |= Qt::WindowMaximizeButtonHint;
    w->setWindowFlags(flags);
    if (f.centered) {
        if (QScreen* s = QGuiApplication::primaryScreen()) {
            const QRect avail = s->availableGeometry();
            w->move(avail.center() - QPoint(client.width() / 2, client.height() / 2));
        }
    }

    // Graphical controls (shapes, lines, pictures) lie beneath the others, in creation order.
    std::vector<QWidget*> beneath;
    std::vector<std::pair<int, QWidget*>> tabStops;
    std::vector<Timer*> timers;
    for (Control* c : f.controls()) {
        QWidget* parent = c->container() && c->container()->kind() == ControlKind::Frame ? widgetOf(*c->container()) : w;
        QWidget* cw = nullptr;
        bool clicks = false;
        switch (c->kind()) {
            case ControlKind::Label: {
                auto* l = new QLabel(parent);
                l->setWordWrap(true);
                l->setAlignment(ToQt(c->alignment));
                l->setTextFormat(Qt::PlainText);
                cw = l;
                clicks = true;
                break;
            }
            case ControlKind::Button: {
                auto* b = new QPushButton(parent);
                auto* button = static_cast<Button*>(c);
                b->setDefault(button->isDefault);
                b->setAutoDefault(true);
                connect(b, &QPushButton::clicked, this, [button] { app().dispatch([button] { if (button->Click) button->Click(); }); });
                if (button->isCancel) {
                    b->setShortcut(QKeySequence(Qt::Key_Escape));
                }
                cw = b;
                break;
            }
            case ControlKind::CheckBox: {
                auto* b = new QCheckBox(parent);
                auto* box = static_cast<CheckBox*>(c);
                // A user's click gives checked or unchecked; greyed is only ever set by the program.
                connect(b, &QCheckBox::clicked, this, [box, b](bool on) {
                    b->setTristate(false);
                    app().dispatch([box, on] { box->userSet(on ? 1 : 0); });
                });
                cw = b;
                break;
            }
            case ControlKind::OptionButton: {
                auto* b = new QRadioButton(parent);
                auto* opt = static_cast<OptionButton*>(c);
                connect(b, &QRadioButton::clicked, this, [opt] { app().dispatch([opt] { opt->userSelect(); }); });
                cw = b;
                break;
            }
            case ControlKind::TextBox: {
                auto* box = static_cast<TextBox*>(c);
                if (box->multiLine) {
                    auto* e = new QPlainTextEdit(parent);
                    e->setReadOnly(box->locked);
                    connect(e, &QPlainTextEdit::textChanged, this, [box, e] {
                        const std::string t = e->toPlainText().toStdString();
                        if (t != box->text()) app().dispatch([box, t] { box->userSet(t); });
                    });
                    cw = e;
                } else {
                    auto* e = new QLineEdit(parent);
                    e->setReadOnly(box->locked);
                    if (c->alignment == Alignment::Center) e->setAlignment(Qt::AlignCenter);
                    if (c->alignment == Alignment::Right) e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
                    connect(e, &QLineEdit::textEdited, this, [box](const QString& t) {
                        app().dispatch([box, s = t.toStdString()] { box->userSet(s); });
                    });
                    cw = e;
                }
                break;
            }
            case ControlKind::DatePicker: {
                auto* e = new QDateEdit(parent);
                e->setCalendarPopup(true);
                if (platform::Clock* clock = platform::services().clock) {
                    e->setDisplayFormat(QtDatePicture(clock->shortDateFormat()));
                }
                auto* picker = static_cast<DatePicker*>(c);
                connect(e, &QDateEdit::userDateChanged, this, [picker](const QDate& d) {
                    const platform::Date v = FromQDate(d);
                    if (v != picker->value()) app().dispatch([picker, v] { picker->userSet(v); });
                });
                cw = e;
                break;
            }
            case ControlKind::ProgressBar: {
                auto* b = new QProgressBar(parent);
                b->setTextVisible(false);
                cw = b;
                break;
            }
            case ControlKind::Chart:
                cw = new ChartWidget(*static_cast<Chart*>(c), parent);
                break;
            case ControlKind::Image: {
                auto* l = new QLabel(parent);
                l->setPixmap(LoadPicture(static_cast<Image*>(c)->picture));
                l->setScaledContents(true);
                cw = l;
                clicks = true;
                beneath.push_back(l);
                break;
            }
            case ControlKind::Frame: {
                auto* g = new QGroupBox(parent);
                if (!static_cast<Frame*>(c)->border) {
                    g->setFlat(true);
                    g->setAutoFillBackground(true);
                    g->setStyleSheet("QGroupBox { border: none; margin: 0; padding: 0; background: palette(base); }");
                } else if (c->foreColor) {
                    const Color& col = *c->foreColor;
                    g->setStyleSheet(QString("QGroupBox::title { color: rgb(%1,%2,%3); }").arg(col.r).arg(col.g).arg(col.b));
                }
                cw = g;
                clicks = true;
                break;
            }
            case ControlKind::Line: {
                auto* line = static_cast<Line*>(c);
                // A horizontal or vertical line still needs a pixel of height or width.
                const QRect box(px(c->rect.left), px(c->rect.top), std::max(1, px(c->rect.width)) + 1,
                                std::max(1, px(c->rect.height)) + 1);
                const QPointF from(px(line->x1) - box.left(), px(line->y1) - box.top());
                const QPointF to(px(line->x2) - box.left(), px(line->y2) - box.top());
                cw = new LineWidget(*line, from + QPointF(0.5, 0.5), to + QPointF(0.5, 0.5), parent);
                cw->setGeometry(box);
                beneath.push_back(cw);
                break;
            }
            case ControlKind::Shape:
                cw = new ShapeWidget(*static_cast<Shape*>(c), parent);
                beneath.push_back(cw);
                break;
            case ControlKind::Timer:
                timers.push_back(static_cast<Timer*>(c));
                c->hostData = nullptr;  // a timer has no widget: the form's schedule runs it
                continue;
            case ControlKind::Menu:
                continue;  // menus are built when they pop up
        }
        c->hostData = cw;
        if (c->kind() != ControlKind::Line) {
            cw->setGeometry(px(c->rect.left), px(c->rect.top), px(c->rect.width), px(c->rect.height));
        }
        cw->setFont(ToQFont(c->font));
        if (!c->toolTip.empty()) cw->setToolTip(QString::fromStdString(c->toolTip));
        if (c->mousePointer == MousePointer::Hand) cw->setCursor(Qt::PointingHandCursor);
        if (c->foreColor && c->kind() != ControlKind::Frame) {
            QPalette pal = cw->palette();
            pal.setColor(QPalette::WindowText, QColor(c->foreColor->r, c->foreColor->g, c->foreColor->b));
            cw->setPalette(pal);
        }
        // A control's mouse events are its own: they never reach the form beneath it.
        cw->setAttribute(Qt::WA_NoMousePropagation);
        if (c->MouseDown || c->MouseMove || c->MouseUp || c->DblClick || (clicks && c->Click)) {
            auto* relay = new MouseRelay(*c, tpp_, clicks);
            relay->setParent(cw);
            cw->installEventFilter(relay);
            cw->setMouseTracking(static_cast<bool>(c->MouseMove));
        }
        if (c->tabIndex >= 0) tabStops.emplace_back(c->tabIndex, cw);
        else if (c->kind() != ControlKind::TextBox && c->kind() != ControlKind::DatePicker) cw->setFocusPolicy(Qt::NoFocus);
        applyControl(*c);
    }
    for (auto it = beneath.rbegin(); it != beneath.rend(); ++it) (*it)->lower();
    w->timers = std::make_unique<TimerSchedule>(timers);
    connect(&w->baseTimer, &QTimer::timeout, w, [w] { w->timers->tick(); });
    w->applyTimers();
    std::sort(tabStops.begin(), tabStops.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 1; i < tabStops.size(); ++i) QWidget::setTabOrder(tabStops[i - 1].second, tabStops[i].second);
}

void QtHost::applyControl(Control& c) {
    if (c.kind() == ControlKind::Timer) {
        FormWindow* w = windowOf(c.form());
        if (!w || !w->timers) return;
        w->timers->timerChanged(static_cast<Timer&>(c));
        w->applyTimers();
        return;
    }
    QWidget* w = widgetOf(c);
    if (!w) return;
    w->setEnabled(c.enabled());
    w->setVisible(c.visible());
    const QSignalBlocker block(w);
    switch (c.kind()) {
        case ControlKind::Label: {
            auto* l = static_cast<QLabel*>(w);
            const QString text = QString::fromStdString(static_cast<Label&>(c).caption());
            if (l->text() != text) l->setText(text);
            // Measuring a caption lays its text out: a hidden window's labels are fitted when
            // it is shown, so a dashboard hidden in the tray does no text layout at all.
            if (l->window()->isVisible()) fitLabel(c, *l);
            break;
        }
        case ControlKind::Button:
        case ControlKind::CheckBox:
        case ControlKind::OptionButton: {
            auto* b = static_cast<QAbstractButton*>(w);
            auto& cc = static_cast<CaptionedControl&>(c);
            b->setText(QString::fromStdString(cc.caption()));
            if (c.kind() == ControlKind::CheckBox) {
                auto* check = static_cast<QCheckBox*>(b);
                const int16_t v = static_cast<CheckBox&>(c).value();
                check->setTristate(v == 2);
                check->setCheckState(v == 1 ? Qt::Checked : v == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
            }
            if (c.kind() == ControlKind::OptionButton) b->setChecked(static_cast<OptionButton&>(c).value());
            break;
        }
        case ControlKind::Frame:
            static_cast<QGroupBox*>(w)->setTitle(QString::fromStdString(static_cast<Frame&>(c).caption()));
            break;
        case ControlKind::TextBox: {
            auto& box = static_cast<TextBox&>(c);
            const QString text = QString::fromStdString(box.text());
            if (box.multiLine) {
                auto* e = static_cast<QPlainTextEdit*>(w);
                if (e->toPlainText() != text) e->setPlainText(text);
            } else {
                auto* e = static_cast<QLineEdit*>(w);
                if (e->text() != text) e->setText(text);
            }
            break;
        }
        case ControlKind::DatePicker:
            static_cast<QDateEdit*>(w)->setDate(ToQDate(static_cast<DatePicker&>(c).value()));
            break;
        case ControlKind::ProgressBar: {
            auto& p = static_cast<ProgressBar&>(c);
            auto* b = static_cast<QProgressBar*>(w);
            b->setRange(p.min(), p.max());
            b->setValue(p.value());
            break;
        }
        case ControlKind::Chart:
            // A hidden chart is drawn from the points as they are when its window shows.
            if (w->isVisible()) static_cast<ChartWidget*>(w)->scheduleUpdate();
            break;
        case ControlKind::Image: {
            auto* l = static_cast<QLabel*>(w);
            const bool border = static_cast<Image&>(c).borderStyle() != 0;
            l->setFrameStyle(border ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
            l->setLineWidth(1);
            break;
        }
        default:
            break;
    }
}

// Fonts differ a little from the ones the layout was drawn with, and some captions outgrow
// their label: a left-aligned single-line caption grows to the right, up to the edge of its
// window or frame, instead of being cut. Labels drawn for several lines wrap within their box
// as designed.
void QtHost::fitLabel(const Control& c, QLabel& l) const {
    const bool oneLineDesign = px(c.rect.height) < 2 * l.fontMetrics().height();
    if (c.alignment == Alignment::Left && oneLineDesign && !l.text().contains('\n')) {
        const int needed = l.fontMetrics().horizontalAdvance(l.text()) + 2;
        const int room = l.parentWidget() ? l.parentWidget()->width() - l.x() : needed;
        const int width = std::max(px(c.rect.width), std::min(needed, room));
        // Each change of the wrap mode lays the label out again.
        if (l.wordWrap() != (needed > width)) l.setWordWrap(needed > width);
        l.resize(width, l.height());
    } else if (!oneLineDesign) {
        // The stand-in fonts set lines a little further apart than the layout's: a wrapped
        // text may take a few pixels more than its box, downwards.
        l.resize(l.width(), std::max(px(c.rect.height), l.heightForWidth(l.width())));
    }
}

void QtHost::destroy(Form& f) {
    hiddenToTray_.erase(&f);
    foregroundOnShow_.erase(&f);
    FormWindow* w = windowOf(f);
    if (!w) return;
    for (Control* c : f.controls()) c->hostData = nullptr;
    f.hostData = nullptr;
    w->baseTimer.stop();
    w->timers.reset();
    w->hide();
    w->deleteLater();
}

void QtHost::show(Form& f) {
    FormWindow* w = windowOf(f);
    if (!w) return;
    hiddenToTray_.erase(&f);
    for (Control* c : f.controls()) {
        if (c->kind() == ControlKind::Label && widgetOf(*c)) fitLabel(*c, *static_cast<QLabel*>(widgetOf(*c)));
    }
    switch (f.windowState()) {
        case WindowState::Minimized: w->showMinimized(); break;
        case WindowState::Maximized: w->showMaximized(); break;
        case WindowState::Normal: w->showNormal(); break;
    }
    // Showing brings the window forward; taking the focus is setForeground's job.
    w->raise();
    if (foregroundOnShow_.erase(&f) > 0) w->activateWindow();
}

// Without a notification area a hidden window could never be reached again: it is
// minimised to the task bar instead.
void QtHost::hide(Form& f) {
    FormWindow* w = windowOf(f);
    if (!w) return;
    if (noTrayHost_ && tray_) {
        w->showMinimized();
        return;
    }
    if (tray_ && !tray_->isVisible()) hiddenToTray_.insert(&f);
    w->hide();
}

void QtHost::formChanged(Form& f) {
    FormWindow* w = windowOf(f);
    if (!w) return;
    w->setWindowTitle(QString::fromStdString(f.caption()));
    const Qt::WindowStates current = w->windowState();
    Qt::WindowStates wanted = current & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (f.windowState() == WindowState::Minimized) wanted |= Qt::WindowMinimized;
    if (f.windowState() == WindowState::Maximized) wanted |= Qt::WindowMaximized;
    if (wanted != current) w->setWindowState(wanted);
}

void QtHost::formMoved(Form& f) {
    FormWindow* w = windowOf(f);
    if (!w) return;
    const QRect g = w->frameGeometry();
    const QPoint pos(px(f.left()), px(f.top()));
    if (f.width() > 0 && (px(f.width()) != g.width() || px(f.height()) != g.height())) {
        const QSize frame = g.size() - w->size();
        const QSize client(px(f.width()) - frame.width(), px(f.height()) - frame.height());
        if (f.resizable) w->resize(client);
        else w->setFixedSize(client);
    }
    if (pos != g.topLeft()) w->move(pos);
}

void QtHost::controlChanged(Control& c) { applyControl(c); }

void QtHost::refresh(Form& f) {
    if (FormWindow* w = windowOf(f)) w->repaint();
}

MsgBoxResult QtHost::msgBox(const std::string& text, MsgBoxButtons buttons, MsgBoxIcon icon, const std::string& title) {
    QMessageBox box;
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QString::fromStdString(text));
    switch (icon) {
        case MsgBoxIcon::Critical: box.setIcon(QMessageBox::Critical); break;
        case MsgBoxIcon::Question: box.setIcon(QMessageBox::Question); break;
        case MsgBoxIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case MsgBoxIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MsgBoxIcon::None: break;
    }
    QMessageBox::StandardButtons set;
    switch (buttons) {
        case MsgBoxButtons::OK: set = QMessageBox::Ok; break;
        case MsgBoxButtons::OKCancel: set = QMessageBox::Ok | QMessageBox::Cancel; break;
        case MsgBoxButtons::YesNo: set = QMessageBox::Yes | QMessageBox::No; break;
        case MsgBoxButtons::YesNoCancel: set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
        case MsgBoxButtons::RetryCancel: set = QMessageBox::Retry | QMessageBox::Cancel; break;
    }
    box.setStandardButtons(set);
    switch (box.exec()) {
        case QMessageBox::Ok: return MsgBoxResult::OK;
        case QMessageBox::Yes: return MsgBoxResult::Yes;
        case QMessageBox::No: return MsgBoxResult::No;
        case QMessageBox::Retry: return MsgBoxResult::Retry;
        default: return MsgBoxResult::Cancel;
    }
}

void QtHost::doEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

bool QtHost::trayIcon(TrayRequest request, const TrayIcon& record) {
    switch (request) {
        case TrayRequest::Add:
            trayRecord_ = record;
            createTrayIcon();
            return true;
        case TrayRequest::Modify:
            trayRecord_ = record;
            if (tray_) tray_->setToolTip(TipOf(record));
            return true;
        case TrayRequest::Delete:
            trayRetry_.stop();
            if (tray_) tray_->hide();
            tray_.reset();
            return true;
    }
    return false;
}

// Creates the icon once a notification area is there, trying again for a while when it is not yet.
void QtHost::createTrayIcon() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        if (++trayAttempts_ < kTrayAttempts) {
            if (!trayRetry_.isActive()) trayRetry_.start();
        } else {
            trayUnavailable();
        }
        if (!tray_) tray_ = std::make_unique<QSystemTrayIcon>();
        return;
    }
    trayRetry_.stop();
    if (!tray_) tray_ = std::make_unique<QSystemTrayIcon>();
    tray_->setIcon(QIcon(LoadPicture(trayRecord_.icon)));
    tray_->setToolTip(TipOf(trayRecord_));
    disconnect(tray_.get(), nullptr, this, nullptr);
    // The icon's mouse messages reach the owner as a mouse move whose x carries the message code.
    connect(tray_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        int code = 0;
        switch (reason) {
            case QSystemTrayIcon::Trigger: code = 0x202; break;
            case QSystemTrayIcon::DoubleClick: code = 0x203; break;
            case QSystemTrayIcon::Context: code = 0x205; break;
            case QSystemTrayIcon::MiddleClick: code = 0x208; break;
            default: return;
        }
        Form* owner = trayRecord_.owner;
        if (!owner) return;
        const float x = static_cast<float>(code) * tpp_;
        app().dispatch([owner, x] { owner->Form_MouseMove(0, 0, x, 0); });
    });
    tray_->show();
    hiddenToTray_.clear();
}

void QtHost::trayUnavailable() {
    trayRetry_.stop();
    noTrayHost_ = true;
    std::fprintf(stderr, "TAVDashboard: no notification area; hidden windows stay on the task bar\n");
    for (Form* f : hiddenToTray_) {
        if (FormWindow* w = windowOf(*f)) w->showMinimized();
    }
    hiddenToTray_.clear();
}

void QtHost::popupMenu(Menu& menu, Form& owner) {
    QMenu popup(windowOf(owner));
    for (Menu* item : menu.items()) {
        if (!item->visible()) continue;
        if (item->isSeparator()) {
            popup.addSeparator();
            continue;
        }
        QAction* a = popup.addAction(QString::fromStdString(item->caption()));
        a->setEnabled(item->enabled());
        a->setObjectName(QString::fromStdString(item->name()));
        connect(a, &QAction::triggered, this, [item] { app().dispatch([item] { if (item->Click) item->Click(); }); });
    }
    TraceMenu(menu);
    popup.exec(QCursor::pos());
}

// A window that is hidden yet takes the focus when it is next shown (the tray click asks for the
// foreground before it shows the dashboard).
void QtHost::setForeground(Form& f) {
    if (FormWindow* w = windowOf(f)) {
        if (!w->isVisible()) {
            foregroundOnShow_.insert(&f);
            return;
        }
        w->raise();
        w->activateWindow();
    }
}

void QtHost::bringForwardShownWindow(bool restore) {
    QWidget* target = QApplication::activeWindow();
    if (!target || !target->isVisible()) {
        target = nullptr;
        for (Form* f : app().forms()) {
            FormWindow* w = windowOf(*f);
            if (w && w->isVisible() && f->visible()) target = w;
        }
    }
    if (!target) return;
    if (restore && target->isMinimized()) target->showNormal();
    if (!restore) {
        target->raise();
        target->activateWindow();
    }
}

void QtHost::endProcess(int code) {
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(code);
}

}  // namespace ui::qt
