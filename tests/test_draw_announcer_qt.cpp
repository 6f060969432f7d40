// What the window's accessible interfaces report while draws run, on the real window offscreen.
// The draws' writes are made through the runtime, and their starts and ends told to the announcer,
// as the form and the window do, so no real time passes.
// (The announcements themselves reach only a live accessibility bridge: test_accessibility_atspi.)
#include <QAccessible>
#include <QLabel>
#include <QtTest>

#include "app/main_window.h"

using namespace tamapick;

namespace {

void showNumbers(Runtime& runtime, const QStringList& numbers) {
    for (int position = 1; position <= kNumberLabelCount; ++position) {
        runtime.setCaption(numberLabel(position), numbers.value(position - 1).toStdString());
    }
}

QString reportedText(QAccessibleInterface* label) { return label->textInterface()->text(0, -1); }

}  // namespace

class DrawAnnouncerTest : public QObject {
    Q_OBJECT

private slots:
    // The window reads as it reads on screen, pictures left out. Catches the stacking order (the
    // order the controls are made in) or the tab order leaking into what a screen reader reads.
    void theWindowsChildrenFollowTheReadingOrder() {
        MainWindow window;
        QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(&window);
        QStringList order;
        for (int i = 0; i < frame->childCount(); ++i) {
            order << frame->child(i)->object()->objectName();
            QCOMPARE(frame->indexOfChild(frame->child(i)), i);
        }
        const QStringList expected{"Label8", "Label1",     "Label2", "Label3",   "Label4",   "Label5", "Label6",
                                   "Label7", "miniroto_0", "roto6",  "Numbers3", "Numbers4", "Label9"};
        QCOMPARE(order, expected);
    }

    // A Loto 6 draw with a Numbers 3 draw nested in it. Catches number labels that report each
    // flicker of the reels, empty labels left on view as blank items, and a window that is not
    // busy for the whole of the outer draw or stays busy after it.
    void numberLabelsReportWhatEachFinishedDrawLeavesAndTheWindowIsBusyMeanwhile() {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Runtime& runtime = window.runtime();
        DrawAnnouncer& announcer = window.drawAnnouncer();
        QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(&window);
        QAccessibleInterface* third =
            QAccessible::queryAccessibleInterface(window.findChild<QLabel*>(QStringLiteral("Label3")));
        QAccessibleInterface* fifth =
            QAccessible::queryAccessibleInterface(window.findChild<QLabel*>(QStringLiteral("Label5")));
        QCOMPARE(third->text(QAccessible::Name), QStringLiteral("3番目の数字"));
        QVERIFY(third->state().invisible && !frame->state().busy);

        announcer.drawStarted();
        runtime.setCaption(Label::Label8, "ロト6の予想です");
        showNumbers(runtime, {"11", "22", "8", "9", "10", "12"});
        QVERIFY(frame->state().busy);
        QCOMPARE(reportedText(third), QString());  // still spinning
        QCOMPARE(third->text(QAccessible::Name), QStringLiteral("3番目の数字"));

        announcer.drawStarted();
        runtime.setCaption(Label::Label8, "Numbers3の予想だよ");
        showNumbers(runtime, {"1", "2", "3"});
        announcer.drawEnded();
        QCOMPARE(reportedText(third), QStringLiteral("3"));
        QVERIFY(!third->state().invisible && fifth->state().invisible);
        QVERIFY(frame->state().busy);  // the Loto 6 draw still runs

        showNumbers(runtime, {"1", "2", "30", "31", "32", "33"});
        announcer.drawEnded();
        QCOMPARE(reportedText(fifth), QStringLiteral("32"));
        QVERIFY(!fifth->state().invisible);
        QVERIFY(!frame->state().busy);
    }
};

QTEST_MAIN(DrawAnnouncerTest)
#include "test_draw_announcer_qt.moc"
