#include "app/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLabel>
#include <QStyle>
#include <array>
#include <vector>

#include "app/main_window.h"

namespace tamapick {

namespace {

// The window's controls in reading order. The balloons and bears are pictures only and are
// left out; so is anything not listed here.
constexpr std::array<const char*, 13> kReadingOrder{
    "Label8", "Label1",     "Label2", "Label3",   "Label4",   "Label5", "Label6",
    "Label7", "miniroto_0", "roto6",  "Numbers3", "Numbers4", "Label9",
};

// The window: a frame named by its title, whose children follow the reading order rather than
// the stacking order the controls were created in. Busy while a draw runs.
class WindowAccessible final : public QAccessibleWidget {
public:
    explicit WindowAccessible(MainWindow* window) : QAccessibleWidget(window, QAccessible::Window) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.busy = widget()->property(kDrawingProperty).toBool();
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
    // is still being built.
    std::vector<QWidget*> children() const {
        std::vector<QWidget*> listed;
        for (const char* name : kReadingOrder) {
            if (auto* control = widget()->findChild<QWidget*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly)) {
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
    explicit NumberLabelAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

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
    QString number() const { return widget()->property(kSettledNumberProperty).toString(); }
};

QAccessibleInterface* interfaceFor(const QString& /*className*/, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr) return nullptr;
    if (auto* window = dynamic_cast<MainWindow*>(widget)) return new WindowAccessible(window);
    if (dynamic_cast<const MainWindow*>(widget->parentWidget()) == nullptr) return nullptr;
    const QString name = widget->objectName();
    if (name == QLatin1String(kAnnouncementBoxName)) return new QAccessibleWidget(widget, QAccessible::Notification);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        for (int position = 1; position <= kNumberLabelCount; ++position) {
            if (name == QStringLiteral("Label%1").arg(position)) return new NumberLabelAccessible(label);
        }
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
