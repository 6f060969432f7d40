#include "app/main_window.h"

#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <cstdint>
#include <vector>

#include "app/desktop_follower.h"
#include "app/label_styles.h"
#include "app/window_design.h"
#include "app/window_icon.h"

namespace tamapick {

MainWindow::MainWindow(QWidget* parent) : QWidget(parent), background_(QString::fromLatin1(kBackgroundPicture)) {
    installAccessibleInterfaces();
    setObjectName(QStringLiteral("tamapick"));
    setWindowTitle(QString::fromUtf8(kWindowTitle));
    setWindowIcon(windowIconFromSource(QString::fromLatin1(kWindowIcon)));
    // Nothing re-lays the controls, so the client area keeps its designed size.
    setFixedSize(kClientWidthTwips / kTwipsPerPixel, kClientHeightTwips / kTwipsPerPixel);
    setAttribute(Qt::WA_OpaquePaintEvent);

    // The table runs front to back; creating its rows back to front stacks each new control
    // over the ones before it, so every number label ends up in front of its balloon.
    const auto rows = windowControls();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) createControl(*row);
    const std::vector<QPushButton*> buttons = controls_.buttons();
    for (std::size_t next = 1; next < buttons.size(); ++next) setTabOrder(buttons[next - 1], buttons[next]);
    if (!buttons.empty()) buttons.front()->setFocus();  // miniroto, the lowest tab index
    drawAnnouncer_.nameNumberLabels();
    desktopFollower_ = std::make_unique<DesktopFollower>(*this, controls_);

    form_.Form_Load();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControl(const ControlDesign& design) {
    QWidget* control = nullptr;
    const QString content = QString::fromUtf8(design.content);
    switch (design.kind) {
        case ControlKind::PushButton: {
            auto* button = new QPushButton(content, this);
            wireButton(button, design);
            controls_.addButton(*button, design);
            control = button;
            break;
        }
        case ControlKind::Label: {
            auto* label = new QLabel(content, this);
            applyLabelStyle(*label, design.style);
            // Kept, and attached to the runtime, before anything can ask for the label's
            // accessible interface, which is chosen by the label it shows.
            controls_.addLabel(*label, design);
            if (design.wiring.label) runtime_.attachLabel(*design.wiring.label, label);
            control = label;
            break;
        }
        case ControlKind::Picture:
            control = new PictureBox(content, this);
            break;
    }
    control->setObjectName(design.objectName());
    control->setGeometry(design.pixelGeometry());
}

void MainWindow::wireButton(QPushButton* button, const ControlDesign& design) {
    // Enter clicks the focused button, as Space does.
    button->setAutoDefault(true);
    if (!design.wiring.click) return;
    const ClickHandler click = *design.wiring.click;
    const auto index = static_cast<std::int16_t>(design.index);
    connect(button, &QPushButton::clicked, this, [this, click, index] { form_.click(click, index); });
}

void MainWindow::drawStarted() {
    // The closing beep's sound server is connected while the draw runs, not at start-up.
    runtime_.prepareBeep();
    drawAnnouncer_.drawStarted();
}

void MainWindow::drawEnded() { drawAnnouncer_.drawEnded(); }

void MainWindow::paintEvent(QPaintEvent* /*event*/) {
    // The background picture is a little larger than the client area; its overhang is cut off.
    // It is drawn straight from its vector source into the damaged region rather than kept as a
    // window-sized pixmap: only the headline and remark line ever repaint over it, a few times
    // a draw, and half a megabyte less stays resident.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    background_.render(&painter, QRectF(QPointF(0, 0), QSizeF(background_.defaultSize())));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A draw that is running unwinds at its next pause without writing anything more.
    runtime_.markClosing();
    event->accept();
}

}  // namespace tamapick
