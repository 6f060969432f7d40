#include "app/draw_announcer.h"

#include <QAccessible>
#include <QLabel>
#include <QStringList>
#include <QWidget>

#include "app/window_controls.h"

namespace tamapick {

DrawAnnouncer::DrawAnnouncer(QWidget& window, const WindowControls& controls) : window_(window), controls_(controls) {
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    // Before Qt 6.8 there is no announcement event. Orca speaks a notification when it comes
    // into view, so the result is put on a hidden notification (its role comes from the
    // accessible-interface factory) that is shown again for every result. It is one pixel,
    // paints nothing and lets the mouse through: nobody sees it.
    announcementBox_ = new QWidget(&window);
    announcementBox_->setObjectName(QStringLiteral("announcement"));
    announcementBox_->setGeometry(0, 0, 1, 1);
    announcementBox_->setAttribute(Qt::WA_TransparentForMouseEvents);
    announcementBox_->hide();
#endif
}

void DrawAnnouncer::nameNumberLabels() {
    for (int position = 1; position <= kNumberLabelCount; ++position) {
        // With a name of its own a label no longer reports each new text as a new name.
        if (QLabel* widget = controls_.label(numberLabel(position)))
            widget->setAccessibleName(QStringLiteral("%1番目の数字").arg(position));
    }
}

int DrawAnnouncer::numberPositionOf(const QWidget* widget) const {
    for (int position = 1; position <= kNumberLabelCount; ++position) {
        if (widget != nullptr && controls_.label(numberLabel(position)) == widget) return position;
    }
    return 0;
}

QString DrawAnnouncer::settledNumber(int position) const {
    return position >= 1 && position <= kNumberLabelCount ? settledNumbers_.at(static_cast<std::size_t>(position))
                                                          : QString();
}

const QWidget* DrawAnnouncer::announcementBox() const {
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    return announcementBox_;
#else
    return nullptr;
#endif
}

void DrawAnnouncer::drawStarted() {
    // A draw writes its headline before its first pause, so a draw nested in it finds the
    // headline label still showing the outer draw's own; it is kept before the nested one
    // overwrites it, and announced when the outer draw ends.
    if (!headlines_.empty() && !headlines_.back()) headlines_.back() = textOf(Label::Label8);
    headlines_.emplace_back();
    if (headlines_.size() == 1) reportBusyChange();
}

void DrawAnnouncer::drawEnded() {
    if (headlines_.empty()) return;
    const QString headline = headlines_.back().value_or(textOf(Label::Label8));
    headlines_.pop_back();
    settleNumbers();
    if (headlines_.empty()) reportBusyChange();
    announce(result(headline));
}

QString DrawAnnouncer::textOf(Label label) const {
    const QLabel* widget = controls_.label(label);
    return widget != nullptr ? widget->text() : QString();
}

QString DrawAnnouncer::result(const QString& headline) const {
    QStringList parts{headline};
    for (int position = 1; position <= kNumberLabelCount; ++position) {
        if (const QString number = textOf(numberLabel(position)); !number.isEmpty()) parts << number;
    }
    parts << textOf(Label::Label7);
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}

void DrawAnnouncer::settleNumbers() {
    for (int position = 1; position <= kNumberLabelCount; ++position) {
        QLabel* widget = controls_.label(numberLabel(position));
        if (widget == nullptr) continue;
        QString& settled = settledNumbers_.at(static_cast<std::size_t>(position));
        const QString before = settled;
        const QString now = widget->text();
        if (now == before) continue;
        settled = now;
        // An empty label is out of view to assistive technology rather than a blank item.
        if (before.isEmpty()) {
            QAccessibleEvent shown(widget, QAccessible::ObjectShow);
            QAccessible::updateAccessibility(&shown);
        }
        QAccessibleTextUpdateEvent changed(widget, 0, before, now);
        QAccessible::updateAccessibility(&changed);
        if (now.isEmpty()) {
            QAccessibleEvent hidden(widget, QAccessible::ObjectHide);
            QAccessible::updateAccessibility(&hidden);
        }
    }
}

void DrawAnnouncer::reportBusyChange() {
    QAccessible::State changed;
    changed.busy = true;
    QAccessibleStateChangeEvent event(&window_, changed);
    QAccessible::updateAccessibility(&event);
}

void DrawAnnouncer::announce(const QString& text) {
    if (!QAccessible::isActive()) return;  // nobody listens: leave the window alone
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(&window_, text);
    QAccessible::updateAccessibility(&event);
#else
    // Hidden first, so that showing it again is news even when the result repeats.
    announcementBox_->hide();
    announcementBox_->setAccessibleName(text);
    announcementBox_->show();
#endif
}

}  // namespace tamapick
