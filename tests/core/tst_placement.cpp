// The main window's stored placement, within reason: values no screen could
// show count as absent, and a title bar off every screen is brought onto the
// nearest one.
#include "core/Placement.h"

#include <QTest>

using namespace core;

Q_DECLARE_METATYPE(core::StoredPlacement)

class TestPlacement : public QObject
{
    Q_OBJECT

private slots:
    void placement_data();
    void placement();
};

namespace {

// Twips of a 1280 x 1024 screen, and one of 1024 x 768 to its right.
const QRect kLeftScreen(0, 0, 19200, 15360);
const QRect kRightScreen(19200, 0, 15360, 11520);
const QRect kDefaults(1000, 1000, 6500, 6500);
constexpr int kTitleBar = 300;

StoredPlacement stored(std::optional<int> left, std::optional<int> top, std::optional<int> width,
                       std::optional<int> height)
{
    return {left, top, width, height};
}

} // namespace

void TestPlacement::placement_data()
{
    QTest::addColumn<StoredPlacement>("stored");
    QTest::addColumn<QRect>("placed");
    const auto none = std::nullopt;
    QTest::newRow("nothing stored") << stored(none, none, none, none) << kDefaults;
    QTest::newRow("as stored") << stored(3000, 2000, 9000, 7000) << QRect(3000, 2000, 9000, 7000);
    QTest::newRow("larger than the desktop, within reason")
        << stored(0, 0, 60000, 40000) << QRect(0, 0, 60000, 40000);
    // 2,000,000,000 twips: a spoiled store.
    QTest::newRow("a size no screen could show") << stored(3000, 2000, 2000000000, 2000000000)
                                                 << QRect(3000, 2000, 6500, 6500);
    QTest::newRow("negative and empty sizes") << stored(3000, 2000, -7000, 0) << QRect(3000, 2000, 6500, 6500);
    QTest::newRow("a position no screen could show") << stored(-2000000000, 2000000000, 7000, 5000)
                                                     << QRect(1000, 1000, 7000, 5000);
    QTest::newRow("partly off a screen stays") << stored(-3000, 14000, 6500, 6500) << QRect(-3000, 14000, 6500, 6500);
    QTest::newRow("title bar only just on") << stored(-6499, 1 - kTitleBar, 6500, 6500)
                                            << QRect(-6499, 1 - kTitleBar, 6500, 6500);
    QTest::newRow("off to the left: moved the least way") << stored(-30000, 3000, 6500, 6500)
                                                          << QRect(0, 3000, 6500, 6500);
    QTest::newRow("title bar above the top") << stored(4000, -2000, 6500, 6500) << QRect(4000, 0, 6500, 6500);
    QTest::newRow("below the shorter screen: onto it")
        << stored(25000, 13000, 6500, 6500) << QRect(25000, 11520 - kTitleBar, 6500, 6500);
    QTest::newRow("off to the right, wider than the screen")
        << stored(90000, 1000, 20000, 6500) << QRect(19200, 1000, 20000, 6500);
    // What the window system can draw at most.
    QTest::newRow("held to the largest window") << stored(0, 0, 100000, 50000) << QRect(0, 0, 80000, 50000);
}

void TestPlacement::placement()
{
    QFETCH(StoredPlacement, stored);
    QFETCH(QRect, placed);
    QCOMPARE(placeMainWindow(stored, kDefaults, {kLeftScreen, kRightScreen}, kTitleBar, QSize(80000, 80000)), placed);
}

QTEST_GUILESS_MAIN(TestPlacement)
#include "tst_placement.moc"
