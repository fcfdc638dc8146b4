#include "app/CatalogueText.h"
#include "app/LinkLabel.h"
#include "app/TextBox.h"
#include "app/frmAcercaDe.h"
#include "app/frmAyuda.h"
#include "board/ctlCuadricula.h"
#include "outside/AppError.h"
#include "outside/MessageCatalogue.h"
#include "outside/ProductInfo.h"
#include "outside/ProgramResources.h"
#include "support/ModalDriver.h"
#include "support/StandInPerson.h"
#include "support/TestHome.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <functional>
#include <memory>

namespace {
// A person whose system cannot open any address.
class NoHandlerPerson : public StandInPerson {
public:
    void OpenAddress(const QString& address) override {
        StandInPerson::OpenAddress(address);
        throw AppError(ErrorNumber::FileNotFound, QStringLiteral("AppServices.OpenDocument"),
                       QStringLiteral("No handler for ") + address);
    }
};

// Ways of closing a window: its button, Enter or Esc on the focused control.
enum class Way { Button, Enter, Escape };

void Close(QDialog& window, QPushButton* button, Way way) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
    switch (way) {
    case Way::Button:
        QTest::mouseClick(button, Qt::LeftButton);
        break;
    case Way::Enter:
        QTest::keyClick(target, Qt::Key_Return);
        break;
    case Way::Escape:
        QTest::keyClick(target, Qt::Key_Escape);
        break;
    }
}

// Runs `open` while `act` handles the window it shows, which must be a W;
// the window is closed afterwards if `act` left it open.
template <class W>
bool WhileOpen(const std::function<void()>& open, const std::function<void(W&)>& act) {
    bool shown = false;
    ModalDriver driver([&](QWidget* window) {
        if (auto* form = qobject_cast<W*>(window)) {
            shown = true;
            if (!QTest::qWaitForWindowActive(form))
                qWarning("the window did not become active");
            act(*form);
        } else {
            qWarning("an unexpected modal window: %s", qPrintable(window->objectName()));
        }
        if (window->isVisible())
            qobject_cast<QDialog*>(window)->reject();
    });
    open();
    return shown && !driver.TimedOut();
}
} // namespace

Q_DECLARE_METATYPE(Way)

class HelpAboutTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestHome> home;

private slots:
    void init() {
        MessageCatalogue::PinLanguage(MessageCatalogue::Language::Spanish);
        home = std::make_unique<TestHome>();
    }
    void cleanup() { home.reset(); }

    // ---- the texts ----

    void helpText_data() {
        QTest::addColumn<QStringList>("pieces"); // 11000, description, 11003, 11004, e-mail
        QTest::addColumn<QString>("expected");
        QTest::newRow("no breaks") << QStringList{"Ayuda.", "Sopa", "Uso.", "Escriba a", "a@b.c"}
                                   << "Ayuda. Sopa\r\n\r\nUso.Escriba a a@b.c\r\n";
        QTest::newRow("empty description")
            << QStringList{"Ayuda.", "", "Uso.", "Escriba a", "a@b.c"}
            << "Ayuda. \r\n\r\nUso.Escriba a a@b.c\r\n";
        QTest::newRow("breaks in messages")
            << QStringList{"Uno\\nDos", "Sopa", "A\\n\\nB", "C\\n", "a@b.c"}
            << "Uno\r\nDos Sopa\r\n\r\nA\r\n\r\nBC\r\n a@b.c\r\n";
        QTest::newRow("other backslashes stay")
            << QStringList{"C:\\temp", "\\N", "\\", "x", "\\\\n"}
            << "C:\\temp \\N\r\n\r\n\\x \\\r\n\r\n";
    }
    void helpText() {
        QFETCH(QStringList, pieces);
        QFETCH(QString, expected);
        QCOMPARE(CatalogueText::HelpText(pieces[0], pieces[1], pieces[2], pieces[3], pieces[4]),
                 expected);
    }

    void aboutText_data() {
        QTest::addColumn<QStringList>("pieces"); // notice, 11101, 11102
        QTest::addColumn<QString>("expected");
        QTest::newRow("no breaks")
            << QStringList{"Aviso", "Uno", "Dos"} << "Aviso\r\n\r\nUno\r\n\r\nDos";
        QTest::newRow("breaks") << QStringList{"A\\nB", "", "C\\n\\nD"}
                                << "A\r\nB\r\n\r\n\r\n\r\nC\r\n\r\nD";
    }
    void aboutText() {
        QFETCH(QStringList, pieces);
        QFETCH(QString, expected);
        QCOMPARE(CatalogueText::AboutText(pieces[0], pieces[1], pieces[2]), expected);
    }

    // ---- the help window ----

    void helpWindowShowsTheAssembledText() {
        ctlCuadricula board;
        const ProductInfo product;
        QString caption, button, text, shown;
        bool readOnly = false, verticalBar = false;
        QVERIFY(WhileOpen<frmAyuda>([&] { board.ShowHelp(); },
                                    [&](frmAyuda& help) {
                                        caption = help.windowTitle();
                                        button = help.cmdCerrar()->text();
                                        text = help.txtTexto()->Text();
                                        shown = help.txtTexto()->toPlainText();
                                        readOnly = help.txtTexto()->isReadOnly();
                                        verticalBar =
                                            help.txtTexto()->verticalScrollBar()->isVisible();
                                    }));
        QCOMPARE(caption, MessageCatalogue::Text(10800) + " " + product.GetProductName(2));
        QCOMPARE(button, MessageCatalogue::Text(10002));
        QCOMPARE(text, CatalogueText::HelpText(
                           MessageCatalogue::Text(11000), product.GetProductDescription(2),
                           MessageCatalogue::Text(11003), MessageCatalogue::Text(11004),
                           product.GetEmailAddress()));
        QVERIFY(!text.contains("\\n"));
        QVERIFY(text.endsWith("\r\n"));
        // Each CR LF is one line break on screen.
        QCOMPARE(shown, QString(text).replace("\r\n", "\n"));
        QVERIFY(readOnly);
        QVERIFY(verticalBar);
    }

    void helpTextCanBeSelectedAndScrolledButNotEdited() {
        ctlCuadricula board;
        QString before, after, selected;
        int scrolled = 0;
        QVERIFY(WhileOpen<frmAyuda>([&] { board.ShowHelp(); },
                                    [&](frmAyuda& help) {
                                        TextBox& box = *help.txtTexto();
                                        box.setFocus();
                                        before = box.toPlainText();
                                        QTest::keyClicks(&box, "xyz");
                                        QTest::keyClick(&box, Qt::Key_Delete);
                                        QTest::keyClick(&box, Qt::Key_Backspace);
                                        after = box.toPlainText();
                                        QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
                                        selected = box.textCursor().selectedText();
                                        // A text longer than the box scrolls.
                                        box.SetText(QString("línea\r\n").repeated(100));
                                        QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
                                        scrolled = box.verticalScrollBar()->value();
                                    }));
        QCOMPARE(after, before);
        QCOMPARE(selected.size(), before.size());
        QVERIFY(scrolled > 0);
    }

    void helpWindowCloses_data() {
        QTest::addColumn<Way>("way");
        QTest::newRow("button") << Way::Button;
        QTest::newRow("Enter") << Way::Enter;
        QTest::newRow("Esc") << Way::Escape;
    }
    void helpWindowCloses() {
        QFETCH(Way, way);
        ctlCuadricula board;
        bool closed = false;
        QVERIFY(WhileOpen<frmAyuda>([&] { board.ShowHelp(); },
                                    [&](frmAyuda& help) {
                                        QCOMPARE(QApplication::focusWidget(), help.txtTexto());
                                        Close(help, help.cmdCerrar(), way);
                                        closed = !help.isVisible();
                                    }));
        QVERIFY(closed);
    }

    // ---- the about window ----

    void puzzleLine_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no puzzle") << 0 << QString();
        QTest::newRow("negative") << -1 << QString();
        QTest::newRow("puzzle 3") << 3 << MessageCatalogue::Text(10901) + " 3";
        QTest::newRow("puzzle 28") << 28 << MessageCatalogue::Text(10901) + " 28";
    }
    void puzzleLine() {
        QFETCH(int, number);
        QFETCH(QString, expected);
        ctlCuadricula board;
        board.SetNumeroJuego(number);
        QString line = "not read";
        bool visible = false;
        QVERIFY(WhileOpen<frmAcercaDe>([&] { board.ShowAbout(); },
                                       [&](frmAcercaDe& about) {
                                           line = about.lblNumeroJuego()->text();
                                           visible = about.lblNumeroJuego()->isVisible();
                                       }));
        QCOMPARE(line, expected);
        QVERIFY(visible); // empty, not hidden
    }

    void aboutWindowShowsTheProductFacts() {
        ctlCuadricula board;
        const ProductInfo product;
        QString caption, button, system, heading0, heading1, email, web, text;
        bool locked = false;
        QImage picture;
        QVERIFY(WhileOpen<frmAcercaDe>([&] { board.ShowAbout(); },
                                       [&](frmAcercaDe& about) {
                                           caption = about.windowTitle();
                                           button = about.cmdAceptar()->text();
                                           system = about.lblSistema()->text();
                                           heading0 = about.Label1(0)->text();
                                           heading1 = about.Label1(1)->text();
                                           email = about.lblEmail()->text();
                                           web = about.lblWeb()->text();
                                           text = about.txtCopyright()->Text();
                                           locked = about.txtCopyright()->isReadOnly();
                                           picture = about.imgAcercaDe()->pixmap().toImage();
                                       }));
        QCOMPARE(caption, MessageCatalogue::Text(10900) + " " + product.GetProductName(2));
        QCOMPARE(button, MessageCatalogue::Text(10000));
        QCOMPARE(system, product.GetProductDescription(2));
        QCOMPARE(heading0, MessageCatalogue::Text(10903));
        QCOMPARE(heading1, MessageCatalogue::Text(10904));
        QCOMPARE(email, product.GetEmailAddress());
        QCOMPARE(web, product.GetWebAddress());
        QCOMPARE(text,
                 CatalogueText::AboutText(product.GetNoticeText(), MessageCatalogue::Text(11101),
                                          MessageCatalogue::Text(11102)));
        QVERIFY(!text.contains("\\n"));
        QVERIFY(locked);
        QCOMPARE(picture, ProgramResources::Icon(2012).toImage());
    }

    void linksLookLikeLinks() {
        ctlCuadricula board;
        QList<QFont> fonts;
        QList<QColor> colours;
        QList<QImage> pointers;
        QVERIFY(WhileOpen<frmAcercaDe>(
            [&] { board.ShowAbout(); },
            [&](frmAcercaDe& about) {
                for (LinkLabel* link : {about.lblEmail(), about.lblWeb()}) {
                    fonts << link->font();
                    colours << link->palette().color(QPalette::Active, QPalette::WindowText);
                    pointers << link->cursor().pixmap().toImage();
                    QCOMPARE(link->focusPolicy(), Qt::StrongFocus);
                }
            }));
        const QImage pointer = ProgramResources::Cursor(1000).pixmap().toImage();
        for (int i = 0; i < 2; ++i) {
            QVERIFY(fonts[i].underline());
            QCOMPARE(colours[i], QColor(0, 0, 255));
            QCOMPARE(pointers[i], pointer);
        }
    }

    void clickingTheLinksHandsTheirAddresses() {
        StandInPerson person;
        ctlCuadricula board;
        QString email, web;
        bool stillOpen = false;
        QVERIFY(WhileOpen<frmAcercaDe>([&] { board.ShowAbout(); },
                                       [&](frmAcercaDe& about) {
                                           email = about.lblEmail()->text();
                                           web = about.lblWeb()->text();
                                           QTest::mouseClick(about.lblEmail(), Qt::LeftButton);
                                           QTest::mouseClick(about.lblWeb(), Qt::LeftButton);
                                           // A press that leaves the label before its release is no
                                           // click.
                                           QTest::mousePress(about.lblWeb(), Qt::LeftButton);
                                           QTest::mouseRelease(about.lblWeb(), Qt::LeftButton, {},
                                                               QPoint(-5, -5));
                                           stillOpen = about.isVisible();
                                       }));
        QVERIFY(stillOpen);
        QCOMPARE(person.openedAddresses, (QStringList{"mailto:" + email, web}));
        QCOMPARE(email, ProductInfo().GetEmailAddress());
        QCOMPARE(web, ProductInfo().GetWebAddress());
    }

    // Space opens the focused link; Enter closes the window wherever the
    // focus is, a link included.
    void linksWorkFromTheKeyboard() {
        StandInPerson person;
        ctlCuadricula board;
        QList<QWidget*> focusPath;
        bool openAfterSpace = false, closedByEnter = false;
        QVERIFY(WhileOpen<frmAcercaDe>(
            [&] { board.ShowAbout(); },
            [&](frmAcercaDe& about) {
                focusPath << QApplication::focusWidget();
                for (int i = 0; i < 3; ++i) {
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                    focusPath << QApplication::focusWidget();
                    if (i >= 1)
                        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
                }
                openAfterSpace = about.isVisible();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                closedByEnter = !about.isVisible();
                QCOMPARE(focusPath, (QList<QWidget*>{about.cmdAceptar(), about.txtCopyright(),
                                                     about.lblEmail(), about.lblWeb()}));
            }));
        QVERIFY(openAfterSpace);
        QVERIFY(closedByEnter);
        QCOMPARE(person.openedAddresses, (QStringList{"mailto:" + ProductInfo().GetEmailAddress(),
                                                      ProductInfo().GetWebAddress()}));
    }

    void anAddressThatCannotBeOpenedIsReported() {
        NoHandlerPerson person;
        ctlCuadricula board;
        bool stillOpen = false;
        QVERIFY(WhileOpen<frmAcercaDe>([&] { board.ShowAbout(); },
                                       [&](frmAcercaDe& about) {
                                           QTest::mouseClick(about.lblWeb(), Qt::LeftButton);
                                           stillOpen = about.isVisible();
                                       }));
        QVERIFY(stillOpen);
        QCOMPARE(person.Count("error"), 1);
        QVERIFY(person.asked.last().text.contains("AppServices.OpenDocument"));
        QVERIFY(person.asked.last().text.contains(ProductInfo().GetWebAddress()));
    }

    void aboutWindowCloses_data() { helpWindowCloses_data(); }
    void aboutWindowCloses() {
        QFETCH(Way, way);
        ctlCuadricula board;
        bool closed = false;
        QVERIFY(WhileOpen<frmAcercaDe>([&] { board.ShowAbout(); },
                                       [&](frmAcercaDe& about) {
                                           Close(about, about.cmdAceptar(), way);
                                           closed = !about.isVisible();
                                       }));
        QVERIFY(closed);
    }

    // With the real texts: every control inside the window, none on top of
    // another, and every label wide and tall enough for its text.
    void aboutControlsKeepApartAndShowTheirTexts() {
        ctlCuadricula board;
        board.SetNumeroJuego(29);
        QList<std::pair<QString, QRect>> places;
        QStringList clipped;
        QRect client;
        QVERIFY(WhileOpen<frmAcercaDe>(
            [&] { board.ShowAbout(); },
            [&](frmAcercaDe& about) {
                client = about.rect();
                for (QWidget* control : about.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                    places.append({control->objectName(), control->geometry()});
                    if (auto* label = qobject_cast<QLabel*>(control)) {
                        const QSize need = label->sizeHint();
                        if (need.width() > label->width() || need.height() > label->height())
                            clipped << label->objectName();
                    }
                }
            }));
        QCOMPARE(places.size(), 9);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(", ")));
        for (qsizetype i = 0; i < places.size(); ++i) {
            QVERIFY2(client.contains(places[i].second), qPrintable(places[i].first));
            for (qsizetype j = i + 1; j < places.size(); ++j)
                QVERIFY2(!places[i].second.intersects(places[j].second),
                         qPrintable(places[i].first + " / " + places[j].first));
        }
    }
};

QTEST_MAIN(HelpAboutTest)
#include "test_help_about.moc"
