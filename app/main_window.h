#pragma once

#include <QWidget>
#include <memory>

#include "app/accessibility.h"
#include "app/draw_announcer.h"
#include "app/svg_picture.h"
#include "app/window_controls.h"
#include "app/window_design.h"
#include "draws/tamapick_form.h"
#include "runtime/qt_runtime.h"

class QPushButton;

namespace tamapick {

class DesktopFollower;

// The one window, `tamapick`, built by walking the design table; it wires each button's click
// to its handler and otherwise only shows what the handlers write. It keeps a handle to each
// button and label as it makes them, and hands those on. The form tells it when each draw starts
// and ends.
class MainWindow : public QWidget, public AccessibleWindow, private DrawObserver {
    Q_OBJECT
    Q_INTERFACES(tamapick::AccessibleWindow)

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    TamapickForm& form() { return form_; }
    QtRuntime& runtime() { return runtime_; }
    DrawAnnouncer& drawAnnouncer() { return drawAnnouncer_; }
    const DrawAnnouncer& drawAnnouncer() const override { return drawAnnouncer_; }
    const WindowControls& controls() const override { return controls_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControl(const ControlDesign& design);
    void wireButton(QPushButton* button, const ControlDesign& design);
    void drawStarted() override;
    void drawEnded() override;

    QtRuntime runtime_;
    TamapickForm form_{runtime_, this};
    QSvgRenderer background_;
    WindowControls controls_;
    DrawAnnouncer drawAnnouncer_{*this, controls_};
    // Made once the controls exist, and let go before them.
    std::unique_ptr<DesktopFollower> desktopFollower_;
};

}  // namespace tamapick
