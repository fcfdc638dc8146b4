#include "app/frmMain.h"
#include "outside/MessageCatalogue.h"
#include "outside/ProductInfo.h"
#include "outside/ProgramResources.h"
#include "outside/WindowServices.h"
#include "support/StandInPerson.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { MessageCatalogue::PinLanguage(MessageCatalogue::Language::Spanish); }

    void clientAreaIsTheBackgroundPicture() {
        frmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const WindowMetrics client = WindowServices().GetClientSize(&window);
        QCOMPARE(client.width, 390);
        QCOMPARE(client.height, 75);
        QCOMPARE(window.centralWidget()->size(), QSize(390, 75));
        QVERIFY(window.ShowsBackground());

        // The picture is what the client area shows.
        const QImage shown = window.centralWidget()->grab().toImage();
        const QImage picture = ProgramResources::Bitmap(3000).toImage();
        QCOMPARE(picture.size(), QSize(390, 75));
        for (const QPoint point : {QPoint(1, 1), QPoint(200, 30), QPoint(388, 73)})
            QCOMPARE(shown.pixelColor(point), picture.pixelColor(point));
    }

    // Denser screens get the same pictures drawn finer, never a different
    // picture: each version reduced to the plain size looks like it.
    void picturesForDenserScreens_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::newRow("background") << "background.bmp" << QSize(390, 75);
        QTest::newRow("about") << "about.png" << QSize(32, 32);
        QTest::newRow("pointer") << "link-pointer.png" << QSize(32, 32);
    }
    void picturesForDenserScreens() {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        const QImage plain = QImage(":/resources/" + name).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(plain.size(), size);
        for (int scale : {2, 3}) {
            const QString file = QString(name).replace(QRegularExpression("\\..*$"),
                                                       QStringLiteral("@%1x.png").arg(scale));
            const QImage fine =
                QImage(":/resources/" + file).convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(fine.size(), size * scale);
            const QImage reduced =
                fine.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            qint64 difference = 0;
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x) {
                    const QColor a = plain.pixelColor(x, y), b = reduced.pixelColor(x, y);
                    difference += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                                  std::abs(a.blue() - b.blue()) + std::abs(a.alpha() - b.alpha());
                }
            const double perChannel = double(difference) / (4.0 * size.width() * size.height());
            QVERIFY2(perChannel < 16, qPrintable(file + ": " + QString::number(perChannel)));
        }
    }

    void titleAndMenuCaptions() {
        frmMain window;
        const ProductInfo product;
        QCOMPARE(window.windowTitle(), product.GetBrandName() + " - " + product.GetProductName(2));

        const QList<QAction*> menus = window.menuBar()->actions();
        QCOMPARE(menus.size(), 2);
        QCOMPARE(menus[0]->text(), MessageCatalogue::Text(10404));
        QCOMPARE(menus[1]->text(), MessageCatalogue::Text(10408));

        const QString name = " " + product.GetProductName(2);
        const QList<std::pair<const char*, QString>> items = {
            {"mnuOpcSeleccionarJuego", MessageCatalogue::Text(10405)},
            {"mnuOpcConfiguracion", MessageCatalogue::Text(10406)},
            {"mnuOpcSalir", MessageCatalogue::Text(10407)},
            {"mnuAyuComoUsar", MessageCatalogue::Text(10409) + name},
            {"mnuAyuSolucion", MessageCatalogue::Text(10410)},
            {"mnuAyuAcercaDe", MessageCatalogue::Text(10411) + name},
        };
        for (const auto& [objectName, caption] : items) {
            auto* action = window.findChild<QAction*>(QLatin1String(objectName));
            QVERIFY2(action, objectName);
            QCOMPARE(action->text(), caption);
        }
        // Menu order: two commands, a separator, exit.
        const QList<QAction*> options = menus[0]->menu()->actions();
        QCOMPARE(options.size(), 4);
        QVERIFY(options[2]->isSeparator());
        QCOMPARE(options[3]->objectName(), QStringLiteral("mnuOpcSalir"));
    }

    void answeringNoKeepsTheWindow() {
        StandInPerson person;
        person.yesNoAnswers = {false, false};
        frmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QString title = window.windowTitle();

        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        window.findChild<QAction*>("mnuOpcSalir")->trigger();
        QVERIFY(window.isVisible());
        QVERIFY(window.ShowsBackground());
        QCOMPARE(window.windowTitle(), title);

        QCOMPARE(person.Count("yesno"), 2);
        const ProductInfo product;
        QCOMPARE(person.asked[0].text, MessageCatalogue::Text(10402) + " " +
                                           product.GetProductName(2) +
                                           MessageCatalogue::Text(10403));
        QCOMPARE(person.asked[0].title, title);
    }

    void answeringYesEndsTheProgram() {
        StandInPerson person;
        person.yesNoAnswers = {true};
        auto* window = new frmMain;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QSignalSpy destroyed(window, &QObject::destroyed);

        window->findChild<QAction*>("mnuOpcSalir")->trigger();
        QVERIFY(!window->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(destroyed.count(), 1);
        QCOMPARE(person.Count("yesno"), 1);
        QCOMPARE(person.Count("error"), 0);
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
