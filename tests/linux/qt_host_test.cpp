// The Qt host on the offscreen platform: the mouse events that reach the window model.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include "ui/application.h"
#include "ui/qt/qt_host.h"

namespace {

class frmMouse : public ui::Form {
public:
    static constexpr const char* kName = "frmMouse";
    frmMouse() : ui::Form(kName) {
        clientWidth = 6000;
        clientHeight = 4500;
        img.MouseDown = [this](int16_t, int16_t, float, float) { events.push_back("MouseDown"); };
        img.MouseUp = [this](int16_t, int16_t, float, float) { events.push_back("MouseUp"); };
        img.Click = [this] { events.push_back("Click"); };
        img.DblClick = [this] { events.push_back("DblClick"); };
    }
    ui::Image img{*this, "img", {300, 300, 600, 600}, "tav.png"};
    ui::Label plain{*this, "plain", {1500, 300, 1500, 300}, "No handlers"};
    std::vector<std::string> events;
    int formMoves = 0, formReleases = 0;
    void Form_MouseMove(int16_t, int16_t, float, float) override { ++formMoves; }
    void Form_MouseUp(int16_t, int16_t, float, float) override { ++formReleases; }
};

class QtHostTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "qt_host_test";
        static char* argv[] = {name, nullptr};
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Kept to the end of the process: destroying it among the other statics at exit crashes.
        static QApplication* qapp = new QApplication(argc, argv);
        (void)qapp;
    }
    QtHostTest() { ui::setApp(&application); }
    ui::qt::QtHost host;
    ui::Application application{host};

    static void send(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPointF at = {5, 5}) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease || type == QEvent::MouseMove ? Qt::NoButton : button;
        QMouseEvent e(type, at, w->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                      Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
};

TEST_F(QtHostTest, ADoubleClickRaisesItsEventsInTheOrderOfAWindowsProgram) {
    frmMouse& f = application.form<frmMouse>();
    f.Load();
    auto* w = static_cast<QWidget*>(f.img.hostData);
    // What Qt delivers for a double-click, then a single click.
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                           QEvent::MouseButtonRelease, QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        send(w, t, Qt::LeftButton);
    }
    EXPECT_EQ(f.events, (std::vector<std::string>{"MouseDown", "MouseUp", "Click", "DblClick", "MouseUp", "MouseDown",
                                                   "MouseUp", "Click"}));
}

TEST_F(QtHostTest, AControlKeepsTheMouseFromTheFormBeneath) {
    frmMouse& f = application.form<frmMouse>();
    f.Show();
    auto* label = static_cast<QWidget*>(f.plain.hostData);
    send(label, QEvent::MouseMove, Qt::NoButton);
    send(label, QEvent::MouseButtonPress, Qt::RightButton);
    send(label, QEvent::MouseButtonRelease, Qt::RightButton);
    EXPECT_EQ(f.formMoves, 0);
    EXPECT_EQ(f.formReleases, 0);
    auto* background = static_cast<QWidget*>(f.hostData);
    send(background, QEvent::MouseMove, Qt::NoButton, {350, 250});
    send(background, QEvent::MouseButtonRelease, Qt::RightButton, {350, 250});
    EXPECT_EQ(f.formMoves, 1);
    EXPECT_EQ(f.formReleases, 1);
}

// A form's background picture, drawn from the palette the file keeps, shows the picture's own
// pixels: in a whole paint, in a part (a label's repaint), and stretched to the window.
class frmPicture : public ui::Form {
public:
    static constexpr const char* kName = "frmPicture";
    frmPicture() : ui::Form(kName) {
        clientWidth = 4500;
        clientHeight = 3000;
        picture = "background.png";
    }
};

TEST_F(QtHostTest, AFormsBackgroundShowsThePicturesPixels) {
    const QImage file(":/assets/background.png");
    ASSERT_EQ(file.format(), QImage::Format_Indexed8) << "the fixture is a palette picture";
    frmPicture& f = application.form<frmPicture>();
    auto* w = static_cast<QWidget*>(f.hostData ? f.hostData : (f.Load(), f.hostData));
    const QColor marker(255, 0, 255);
    struct Case {
        const char* what;
        bool stretch;
        QRect part;  // empty: the whole window
    };
    for (const Case& c : {Case{"whole, at its own size", false, {}}, Case{"a part", false, {37, 101, 90, 23}},
                          Case{"stretched, whole", true, {}}, Case{"stretched, a part", true, {5, 150, 200, 40}}}) {
        f.stretchPicture = c.stretch;
        const QSize size = w->size();
        const QImage expected = (c.stretch ? file.scaled(size) : file).convertToFormat(QImage::Format_RGB32);
        QImage shown(size, QImage::Format_RGB32);
        shown.fill(marker);
        const QRect part = c.part.isEmpty() ? QRect(QPoint(), size) : c.part;
        w->render(&shown, part.topLeft(), QRegion(part), QWidget::DrawWindowBackground);  // the part lands where it is
        int wrong = 0, outside = 0;
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                const QRgb got = shown.pixel(x, y);
                if (!part.contains(x, y)) outside += got != marker.rgb();
                else if (x < expected.width() && y < expected.height()) wrong += got != expected.pixel(x, y);
            }
        }
        EXPECT_EQ(wrong, 0) << c.what;
        EXPECT_EQ(outside, 0) << c.what << ": painted outside its part";
    }
}

}  // namespace
