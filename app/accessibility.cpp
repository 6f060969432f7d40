#include "app/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLabel>
#include <QStyle>
#include <algorithm>
#include <utility>
#include <vector>

#include "app/draw_announcer.h"
#include "app/main_window.h"
#include "app/window_design.h"

namespace tamapick {

namespace {

// What the window's draw announcer knows, or nullptr once the window is being taken down (its
// controls outlive the announcer by a moment then, and so do their interfaces).
const DrawAnnouncer* announcerOf(const QWidget* window) {
    const auto* mainWindow = qobject_cast<const MainWindow*>(window);
    return mainWindow != nullptr ? &mainWindow->drawAnnouncer() : nullptr;
}

// The window's controls in reading order, as the window reads on screen: top to bottom, and left
// to right along a row (the headline, the six numbers, the remark line, the buttons, the credit
// line). The balloons and bears are pictures only and are left out.
std::vector<const ControlDesign*> readingOrder() {
    std::vector<const ControlDesign*> rows;
    for (const ControlDesign& design : windowControls()) {
        if (design.kind != ControlKind::Picture) rows.push_back(&design);
    }
    std::stable_sort(rows.begin(), rows.end(), [](const ControlDesign* a, const ControlDesign* b) {
        return std::pair(a->top, a->left) < std::pair(b->top, b->left);
    });
    return rows;
}

// The window: a frame named by its title, whose children follow the reading order rather than
// the stacking order the controls were created in. Busy while a draw runs.
class WindowAccessible final : public QAccessibleWidget {
public:
    explicit WindowAccessible(MainWindow* window) : QAccessibleWidget(window, QAccessible::Window) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        const DrawAnnouncer* announcer = announcerOf(widget());
        state.busy = announcer != nullptr && announcer->busy();
        return state;
    }
    int childCount() const override { return static_cast<int>(children().size()); }
    QAccessibleInterface* child(int index) const override {
        const auto listed = children();
        if (index < 0 || index >= static_cast<int>(listed.size())) return nullptr;
        return QAccessible::queryAccessibleInterface(listed.at(static_cast<std::size_t>(index)));
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto listed = children();
        for (std::size_t i = 0; i < listed.size(); ++i) {
            if (child != nullptr && child->object() == listed[i]) return static_cast<int>(i);
        }
        return -1;
    }

private:
    // Looked up on each call rather than kept: the interface may be asked for while the window
    // is still being built, or while it is taking its controls down.
    std::vector<QWidget*> children() const {
        static const std::vector<const ControlDesign*> order = readingOrder();
        std::vector<QWidget*> listed;
        for (const ControlDesign* design : order) {
            if (auto* control = widget()->findChild<QWidget*>(design->objectName(), Qt::FindDirectChildrenOnly)) {
                listed.push_back(control);
            }
        }
        return listed;
    }
};

// A number label: a fixed name ("3番目の数字") and, as its text, the number the last finished
// draw left there. Empty, it is out of view rather than a blank item.
class NumberLabelAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    NumberLabelAccessible(QLabel* label, int position)
        : QAccessibleWidget(label, QAccessible::StaticText), position_(position) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (number().isEmpty()) state.invisible = true;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // Read-only text with no selection and no caret.
    void selection(int /*index*/, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int /*start*/, int /*end*/) override {}
    void removeSelection(int /*index*/) override {}
    void setSelection(int /*index*/, int /*start*/, int /*end*/) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int /*position*/) override {}
    QString text(int start, int end) const override {
        const QString shown = number();
        if (end < 0 || end > shown.size()) end = static_cast<int>(shown.size());
        return start < 0 || start >= end ? QString() : shown.mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(number().size()); }
    // Where each digit is drawn, on the screen. Orca's flat review reads a text only where it
    // can place it; without these it falls back to the name, and the numbers go unread.
    QRect characterRect(int offset) const override {
        const QString shown = number();
        if (offset < 0 || offset >= shown.size()) return {};
        const auto* label = static_cast<const QLabel*>(widget());
        const QFontMetrics metrics(label->font());
        const QRect line =
            QStyle::alignedRect(label->layoutDirection(), label->alignment(),
                                QSize(metrics.horizontalAdvance(shown), metrics.height()), label->contentsRect());
        const QRect digit = QRect(line.left() + metrics.horizontalAdvance(shown.left(offset)), line.top(),
                                  metrics.horizontalAdvance(shown.at(offset)), line.height())
                                .intersected(label->contentsRect());
        return {label->mapToGlobal(digit.topLeft()), digit.size()};
    }
    int offsetAtPoint(const QPoint& point) const override {
        for (int offset = 0; offset < characterCount(); ++offset) {
            if (characterRect(offset).contains(point)) return offset;
        }
        return -1;
    }
    void scrollToSubstring(int /*start*/, int /*end*/) override {}
    QString attributes(int /*offset*/, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    using QAccessibleWidget::text;

private:
    QString number() const {
        const DrawAnnouncer* announcer = announcerOf(widget()->parentWidget());
        return announcer != nullptr ? announcer->settledNumber(position_) : QString();
    }

    int position_;  // 1 to 6, left to right
};

QAccessibleInterface* interfaceFor(const QString& /*className*/, QObject* object) {
    if (auto* window = qobject_cast<MainWindow*>(object)) return new WindowAccessible(window);
    auto* widget = qobject_cast<QWidget*>(object);
    const DrawAnnouncer* announcer = widget != nullptr ? announcerOf(widget->parentWidget()) : nullptr;
    if (announcer == nullptr) return nullptr;
    if (widget == announcer->announcementBox()) return new QAccessibleWidget(widget, QAccessible::Notification);
    if (const int position = announcer->numberPositionOf(widget); position != 0) {
        if (auto* label = qobject_cast<QLabel*>(widget)) return new NumberLabelAccessible(label, position);
    }
    return nullptr;  // Qt's own interface
}

}  // namespace

void installAccessibleInterfaces() {
    static const bool installed = [] {
        QAccessible::installFactory(interfaceFor);
        return true;
    }();
    (void)installed;
}

}  // namespace tamapick
