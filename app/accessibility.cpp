#include "app/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLabel>
#include <QStyle>
#include <vector>

#include "app/draw_announcer.h"
#include "app/window_controls.h"

namespace tamapick {

namespace {

const AccessibleWindow* accessibleWindowOf(const QObject* object) {
    return qobject_cast<const AccessibleWindow*>(object);
}

// What the window's draw announcer knows, or nullptr once the window is being taken down.
const DrawAnnouncer* announcerOf(const QWidget* window) {
    const AccessibleWindow* accessible = accessibleWindowOf(window);
    return accessible != nullptr ? &accessible->drawAnnouncer() : nullptr;
}

// The window: a frame named by its title, whose children follow the reading order rather than
// the stacking order the controls were created in. Busy while a draw runs.
class WindowAccessible final : public QAccessibleWidget {
public:
    explicit WindowAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}

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
    // The window's buttons and labels in reading order (the headline, the six numbers, the remark
    // line, the buttons, the credit line; the balloons and bears are pictures only), of those
    // that are its children at the moment of asking: the interface may be asked for while the
    // window is still making its controls, or while it is taking them down. The order is the
    // window's while it is whole, and the last one it gave after that.
    std::vector<QWidget*> children() const {
        if (const AccessibleWindow* window = accessibleWindowOf(widget())) order_ = window->controls().inReadingOrder();
        const QObjectList& present = widget()->children();
        std::vector<QWidget*> listed;
        for (QWidget* control : order_) {
            if (present.contains(control)) listed.push_back(control);
        }
        return listed;
    }

    mutable std::vector<QWidget*> order_;
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
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget != nullptr && accessibleWindowOf(widget) != nullptr) return new WindowAccessible(widget);
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
