#include "mainwindow/CreditsScroller.h"

#include <QTest>

namespace {

// Lines measure 100 twips per point across and 20 per point down, plus a
// little per line, so recentring shows in Left.
CreditsScroller makeScroller()
{
    return CreditsScroller(
        9015, 3270, [](int line, double pt) { return int(pt * 100) + line * 10; },
        [](int, double pt) { return int(pt * 20); });
}

} // namespace

class TestCreditsScroller : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void creationPlacesLinesBelowTheBox();
    void firstTick();
    void restartsWhenLineNineLeaves();
    void fontBands();
};

void TestCreditsScroller::creationPlacesLinesBelowTheBox()
{
    CreditsScroller s = makeScroller();
    s.place();
    for (int i = 0; i < CreditsScroller::kLines; ++i) {
        QCOMPARE(s.top(i), 3270 + int(20.25 * 20));
        QCOMPARE(s.left(i), (9015 - (2025 + i * 10)) / 2);
        QCOMPARE(s.pointSize(i), 20.25);
    }
}

void TestCreditsScroller::firstTick()
{
    CreditsScroller s = makeScroller();
    s.place();
    s.setOffsetText(QStringLiteral("Text1")); // the box's initial text counts as 0
    s.tick();
    QCOMPARE(s.offsetText(), QStringLiteral("5"));
    QCOMPARE(s.top(0), 3665);
    QCOMPARE(s.top(8), 10065);
    for (int i = 1; i < CreditsScroller::kLines; ++i)
        QCOMPARE(s.top(i) - s.top(i - 1), 800);
    QCOMPARE(s.pointSize(0), 20.25); // below three quarters of the box: design size kept
}

void TestCreditsScroller::restartsWhenLineNineLeaves()
{
    CreditsScroller s = makeScroller();
    s.place();
    for (int t = 1; t < 2035; ++t)
        s.tick();
    QCOMPARE(s.offset(), 10170);
    QCOMPARE(s.top(8), -100); // not yet below -100
    s.tick();
    QCOMPARE(s.offset(), 0);
    QCOMPARE(s.offsetText(), QStringLiteral("0"));
    for (int i = 0; i < CreditsScroller::kLines; ++i) {
        QCOMPARE(s.pointSize(i), 25.0);
        QCOMPARE(s.left(i), (9015 - (2500 + i * 10)) / 2);
    }
    // The restart put line 9 just below the box, measured at the size it had.
    QCOMPARE(s.top(8), 3270 + int(6 * 20));
    s.tick();
    QCOMPARE(s.top(0), 3665); // the next cycle starts as the first did
}

void TestCreditsScroller::fontBands()
{
    CreditsScroller s = makeScroller();
    s.place();
    // Follow line 1 tick by tick: its size is set by the band of its Top.
    double size = 20.25;
    bool sawBoundary = false;
    for (int t = 1; t <= 800; ++t) {
        s.tick();
        const int top = s.top(0);
        if (top > 1635 && top < 2452)
            size = 20;
        else if (top > 817 && top < 1635)
            size = 10;
        else if (top < 654)
            size = 6;
        if (top == 1635)
            sawBoundary = true; // exactly half: keeps what it had
        QCOMPARE(s.pointSize(0), size);
        QCOMPARE(s.left(0), (9015 - int(size * 100)) / 2);
    }
    QVERIFY(sawBoundary);
    QCOMPARE(s.pointSize(0), 6.0);
}

QTEST_APPLESS_MAIN(TestCreditsScroller)
#include "tst_creditsscroller.moc"
