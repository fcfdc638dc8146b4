// The arithmetic of the windows' layouts, over plain sizes: no window and
// no application object.
#include "core/MainWindowLayout.h"
#include "core/SolutionWindowFit.h"
#include "core/Twips.h"
#include "outside/AppError.h"
#include "outside/MessageCatalogue.h"

#include <QTest>
#include <functional>
#include <limits>

namespace {
constexpr int Max = std::numeric_limits<int>::max();
// Scroll bars of different sizes, so that one taken for the other shows.
constexpr int VerticalBar = 17;
constexpr int HorizontalBar = 16;

void VerifyOverflow(const std::function<void()>& layout, const char* source) {
    try {
        layout();
        QFAIL("no overflow raised");
    } catch (const AppError& error) {
        QCOMPARE(error.Number(), ErrorNumber::Overflow);
        QCOMPARE(error.Source(), QString::fromLatin1(source));
        QCOMPARE(error.Description(), MessageCatalogue::Text(11601));
    }
}
} // namespace

class TestLayout : public QObject {
    Q_OBJECT

private slots:
    // A frame of 8 × 50 pixels throughout; the main window's width branches
    // with a 1000-pixel work area leave R = 987 for the controls: 690 and
    // 296 by share.
    void mainWindowArrangesTheControls_data() {
        QTest::addColumn<QSize>("workArea");
        QTest::addColumn<QSize>("board");
        QTest::addColumn<QSize>("list");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QRect>("boardPlace");
        QTest::addColumn<QRect>("listPlace");
        const QSize screen(1000, 800);
        QTest::newRow("fits") << screen << QSize(300, 200) << QSize(100, 200) << QSize(413, 250)
                              << QRect(0, 0, 300, 200) << QRect(305, 0, 100, 200);
        QTest::newRow("fits exactly")
            << QSize(413, 250) << QSize(300, 200) << QSize(100, 200) << QSize(413, 250)
            << QRect(0, 0, 300, 200) << QRect(305, 0, 100, 200);
        QTest::newRow("list higher than the board scrolls")
            << screen << QSize(300, 200) << QSize(100, 300) << QSize(430, 250)
            << QRect(0, 0, 300, 200) << QRect(305, 0, 117, 200);
        QTest::newRow("too tall") << QSize(1000, 240) << QSize(300, 200) << QSize(100, 150)
                                  << QSize(430, 240) << QRect(0, 0, 317, 190)
                                  << QRect(322, 0, 100, 190);
        QTest::newRow("too tall, list scrolls")
            << QSize(1000, 240) << QSize(300, 200) << QSize(100, 300) << QSize(447, 240)
            << QRect(0, 0, 317, 190) << QRect(322, 0, 117, 190);
        QTest::newRow("both grids wider than the screen")
            << screen << QSize(1200, 200) << QSize(1100, 200) << QSize(1000, 266)
            << QRect(0, 0, 690, 216) << QRect(695, 0, 296, 216);
        QTest::newRow("board wider than the screen")
            << screen << QSize(1200, 200) << QSize(100, 200) << QSize(1000, 266)
            << QRect(0, 0, 887, 216) << QRect(892, 0, 100, 216);
        QTest::newRow("list wider than the screen")
            << screen << QSize(300, 200) << QSize(1200, 200) << QSize(1000, 266)
            << QRect(0, 0, 300, 216) << QRect(305, 0, 687, 216);
        QTest::newRow("board within its share")
            << screen << QSize(600, 200) << QSize(500, 200) << QSize(1000, 266)
            << QRect(0, 0, 600, 216) << QRect(605, 0, 387, 216);
        QTest::newRow("board exactly its share")
            << screen << QSize(690, 200) << QSize(400, 200) << QSize(1000, 266)
            << QRect(0, 0, 690, 216) << QRect(695, 0, 297, 216);
        QTest::newRow("board past its share")
            << screen << QSize(800, 200) << QSize(300, 200) << QSize(1000, 266)
            << QRect(0, 0, 687, 216) << QRect(692, 0, 300, 216);
        QTest::newRow("wider only with the board's scroll bar")
            << QSize(413, 240) << QSize(300, 200) << QSize(100, 200) << QSize(413, 240)
            << QRect(0, 0, 300, 190) << QRect(305, 0, 100, 190);
        QTest::newRow("too wide and too tall")
            << screen << QSize(1200, 900) << QSize(1100, 900) << QSize(1000, 800)
            << QRect(0, 0, 690, 750) << QRect(695, 0, 296, 750);
    }
    void mainWindowArrangesTheControls() {
        QFETCH(QSize, workArea);
        QFETCH(QSize, board);
        QFETCH(QSize, list);
        const QSize client(500, 300);
        const MainWindowLayout::Places places = MainWindowLayout::Arrange(
            {client + QSize(8, 50), client, workArea, board, list, VerticalBar, HorizontalBar});
        QTEST(places.window, "window");
        QTEST(places.board, "boardPlace");
        QTEST(places.list, "listPlace");
    }

    void mainWindowOverflowIsAnError_data() {
        QTest::addColumn<QSize>("outer");
        QTest::addColumn<QSize>("board");
        QTest::newRow("needed width") << QSize(508, 350) << QSize(Max - 10, 200);
        QTest::newRow("needed height") << QSize(508, 350) << QSize(300, Max - 10);
        QTest::newRow("frame") << QSize(Max, 350) << QSize(300, 200);
    }
    void mainWindowOverflowIsAnError() {
        QFETCH(QSize, outer);
        QFETCH(QSize, board);
        VerifyOverflow(
            [&] {
                MainWindowLayout::Arrange({outer, QSize(-500, 300), QSize(1000, 800), board,
                                           QSize(100, 200), VerticalBar, HorizontalBar});
            },
            "frmMain.ArrangeControls");
    }

    // A frame of 8 × 30 pixels and a 27-pixel button at 15 twips per pixel:
    // a strip of 35 pixels under the board.
    void solutionWindowFitsTheBoard_data() {
        QTest::addColumn<QSize>("workArea");
        QTest::addColumn<QSize>("grid");
        QTest::addColumn<int>("titleWidth");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QRect>("board"); // twips
        const QSize screen(1000, 800);
        QTest::newRow("fits") << screen << QSize(300, 200) << 100 << QSize(308, 265)
                              << QRect(0, 0, 4500, 3000);
        QTest::newRow("fits exactly") << QSize(308, 265) << QSize(300, 200) << 100
                                      << QSize(308, 265) << QRect(0, 0, 4500, 3000);
        QTest::newRow("too tall") << screen << QSize(300, 900) << 100 << QSize(325, 800)
                                  << QRect(0, 0, 4755, 11025);
        QTest::newRow("too tall, no room for the bar")
            << QSize(315, 800) << QSize(300, 900) << 100 << QSize(315, 800)
            << QRect(0, 0, 4605, 11025);
        QTest::newRow("too wide") << screen << QSize(1200, 200) << 100 << QSize(1000, 281)
                                  << QRect(0, 0, 14880, 3240);
        QTest::newRow("too wide, no room for the bar")
            << QSize(1000, 270) << QSize(1200, 200) << 100 << QSize(1000, 270)
            << QRect(0, 0, 14880, 3075);
        QTest::newRow("too wide and too tall")
            << screen << QSize(1200, 900) << 100 << screen << QRect(0, 0, 14880, 11025);
        QTest::newRow("title wider than the board")
            << screen << QSize(300, 200) << 500 << QSize(500, 265) << QRect(1440, 0, 4500, 3000);
        QTest::newRow("title wider than the screen")
            << screen << QSize(300, 200) << 2000 << QSize(1000, 265) << QRect(5190, 0, 4500, 3000);
    }
    void solutionWindowFitsTheBoard() {
        QFETCH(QSize, workArea);
        QFETCH(QSize, grid);
        QFETCH(int, titleWidth);
        const SolutionWindowFit::Places places = SolutionWindowFit::Fit(
            {QSize(8, 30), workArea, grid, 27, 15, 15, VerticalBar, HorizontalBar, titleWidth});
        QTEST(places.window, "window");
        QTEST(places.board, "board");
    }

    // The strip is the button and 120 twips, to a whole pixel (an exact
    // half to the even neighbour).
    void solutionButtonStrip_data() {
        QTest::addColumn<int>("buttonHeight");
        QTest::addColumn<int>("twipsPerPixel");
        QTest::addColumn<int>("strip");
        QTest::newRow("96 dpi") << 27 << 15 << 35;
        QTest::newRow("120 dpi") << 27 << 12 << 37;
        QTest::newRow("half, down to even") << 27 << 16 << 34;
        QTest::newRow("half, up to even") << 27 << 48 << 30;
    }
    void solutionButtonStrip() {
        QFETCH(int, buttonHeight);
        QFETCH(int, twipsPerPixel);
        QTEST(SolutionWindowFit::ButtonStrip(buttonHeight, twipsPerPixel), "strip");
    }

    void solutionCloseButton_data() {
        QTest::addColumn<int>("outerWidth");
        QTest::addColumn<int>("twipsPerPixel");
        QTest::addColumn<QRect>("button");
        QTest::newRow("half a twip, down to even") << 308 << 15 << QRect(1732, 3060, 1155, 405);
        QTest::newRow("half a twip, up to even") << 310 << 15 << QRect(1748, 3060, 1155, 405);
        QTest::newRow("12 twips per pixel") << 308 << 12 << QRect(1386, 2460, 924, 324);
    }
    void solutionCloseButton() {
        QFETCH(int, outerWidth);
        QFETCH(int, twipsPerPixel);
        QTEST(SolutionWindowFit::CloseButton(outerWidth, 200, QSize(77, 27), twipsPerPixel,
                                             twipsPerPixel),
              "button");
    }

    void solutionOverflowIsAnError() {
        const char* source = "frmSolucion.FitSolutionWindow";
        VerifyOverflow([] { SolutionWindowFit::Frame(QSize(Max, 10), QSize(-1, 0)); }, source);
        VerifyOverflow(
            [] {
                SolutionWindowFit::Fit({QSize(8, 30), QSize(1000, 800), QSize(Max - 4, 200), 27, 15,
                                        15, VerticalBar, HorizontalBar, 100});
            },
            source);
        VerifyOverflow([] { SolutionWindowFit::ButtonStrip(Max / 10, 15); }, source);
        VerifyOverflow([] { SolutionWindowFit::CloseButton(Max / 10, 200, QSize(77, 27), 15, 15); },
                       source);
    }

    void twipsPerPixel_data() {
        QTest::addColumn<double>("dotsPerInch");
        QTest::addColumn<int>("perPixel");
        QTest::newRow("96") << 96.0 << 15;
        QTest::newRow("120") << 120.0 << 12;
        QTest::newRow("144") << 144.0 << 10;
        QTest::newRow("72") << 72.0 << 20;
        QTest::newRow("110, to the nearest") << 110.0 << 13;
        QTest::newRow("192, half away from zero") << 192.0 << 8;
        QTest::newRow("none told") << 0.0 << 15;
        QTest::newRow("negative") << -96.0 << 15;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 15;
        QTest::newRow("past 2880, at least one") << 5000.0 << 1;
        QTest::newRow("under one, at most an inch") << 0.001 << 1440;
    }
    void twipsPerPixel() {
        QFETCH(double, dotsPerInch);
        QTEST(Twips::PerPixel(dotsPerInch), "perPixel");
    }

    // The windows' designed client sizes at 15, 12 and 20 twips per pixel.
    void twipsToPixels_data() {
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("perPixel");
        QTest::addColumn<int>("pixels");
        QTest::newRow("exact") << 4560 << 15 << 304;
        QTest::newRow("half, up") << 3810 << 12 << 318;
        QTest::newRow("under half, down") << 3765 << 12 << 314;
        QTest::newRow("over half, up") << 2625 << 20 << 131;
        QTest::newRow("zero") << 0 << 15 << 0;
        QTest::newRow("under half a pixel") << 7 << 15 << 0;
        QTest::newRow("over half a pixel") << 8 << 15 << 1;
        QTest::newRow("negative half, away from zero") << -6 << 12 << -1;
        QTest::newRow("largest") << Max << 1 << Max;
    }
    void twipsToPixels() {
        QFETCH(int, twips);
        QFETCH(int, perPixel);
        QTEST(Twips::ToPixels(twips, perPixel), "pixels");
    }
};

QTEST_APPLESS_MAIN(TestLayout)
#include "test_layout.moc"
