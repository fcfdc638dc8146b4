#include "app/frmMain.h"

#include "app/BackgroundArea.h"
#include "app/modMain.h"
#include "board/ctlCuadricula.h"
#include "outside/AppServices.h"
#include "outside/GridSpeech.h"
#include "outside/ProductInfo.h"
#include "outside/ProgramResources.h"
#include "outside/RegistryStore.h"
#include "outside/WindowServices.h"
#include "wordlist/ctlLista.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <limits>
#include <optional>

namespace {
AppServices& App() {
    return SharedServices::App();
}

WindowServices& Windows() {
    return SharedServices::Windows();
}

// 32-bit sums, as the layout arithmetic is done: overflow is an error.
qint32 Sum(std::initializer_list<qint64> terms) {
    qint64 total = 0;
    for (qint64 term : terms)
        total += term;
    if (total > std::numeric_limits<qint32>::max() || total < std::numeric_limits<qint32>::min())
        throw AppError(ErrorNumber::Overflow, QStringLiteral("frmMain.ArrangeControls"),
                       AppServices().GetMessage(11601));
    return static_cast<qint32>(total);
}

QAction* NewAction(QMenu* menu, const char* name) {
    QAction* action = menu->addAction(QString());
    action->setObjectName(QLatin1String(name));
    return action;
}
} // namespace

frmMain::frmMain(QWidget* parent)
    : QMainWindow(parent), area_(new BackgroundArea(this)),
      ctlCuadricula_(new ctlCuadricula(area_)), ctlDefiniciones_(new ctlLista(area_)) {
    setObjectName(QStringLiteral("frmMain"));
    ctlDefiniciones_->setObjectName(QStringLiteral("ctlDefiniciones"));
    setCentralWidget(area_);
    ctlCuadricula_->hide();
    ctlDefiniciones_->hide();
    setTabOrder(ctlCuadricula_, ctlDefiniciones_);
    CreateMenus();
    connect(ctlCuadricula_, &ctlCuadricula::ChangeConfiguration, this,
            &frmMain::ctlCuadricula_ChangeConfiguration);

    productInfo_ = std::make_unique<ProductInfo>();
    LoadMenuCaptions();
    SizeForBackground();
    setWindowTitle(productInfo_->GetBrandName() + QStringLiteral(" - ") +
                   productInfo_->GetProductName(2));
    area_->SetPicture(ProgramResources::Bitmap(3000));
}

frmMain::~frmMain() = default;

bool frmMain::ShowsBackground() const {
    return area_->HasPicture();
}

void frmMain::CreateMenus() {
    mnuOpciones_ = menuBar()->addMenu(QString());
    mnuOpciones_->setObjectName(QStringLiteral("mnuOpciones"));
    mnuOpcSeleccionarJuego_ = NewAction(mnuOpciones_, "mnuOpcSeleccionarJuego");
    mnuOpcConfiguracion_ = NewAction(mnuOpciones_, "mnuOpcConfiguracion");
    mnuOpciones_->addSeparator()->setObjectName(QStringLiteral("mnuOpcGuion1"));
    mnuOpcSalir_ = NewAction(mnuOpciones_, "mnuOpcSalir");

    mnuAyuda_ = menuBar()->addMenu(QString());
    mnuAyuda_->setObjectName(QStringLiteral("mnuAyuda"));
    mnuAyuComoUsar_ = NewAction(mnuAyuda_, "mnuAyuComoUsar");
    mnuAyuSolucion_ = NewAction(mnuAyuda_, "mnuAyuSolucion");
    mnuAyuda_->addSeparator()->setObjectName(QStringLiteral("mnuAyuGuion"));
    mnuAyuAcercaDe_ = NewAction(mnuAyuda_, "mnuAyuAcercaDe");

    connect(mnuOpcSeleccionarJuego_, &QAction::triggered, this,
            &frmMain::mnuOpcSeleccionarJuego_Click);
    connect(mnuOpcConfiguracion_, &QAction::triggered, this, &frmMain::mnuOpcConfiguracion_Click);
    connect(mnuOpcSalir_, &QAction::triggered, this, &QWidget::close);
    connect(mnuAyuComoUsar_, &QAction::triggered, this, &frmMain::mnuAyuComoUsar_Click);
    connect(mnuAyuSolucion_, &QAction::triggered, this, &frmMain::mnuAyuSolucion_Click);
    connect(mnuAyuAcercaDe_, &QAction::triggered, this, &frmMain::mnuAyuAcercaDe_Click);
}

void frmMain::LoadMenuCaptions() {
    const QString product = QLatin1Char(' ') + productInfo_->GetProductName(2);
    mnuOpciones_->setTitle(App().GetMessage(10404));
    mnuOpcSeleccionarJuego_->setText(App().GetMessage(10405));
    mnuOpcConfiguracion_->setText(App().GetMessage(10406));
    mnuOpcSalir_->setText(App().GetMessage(10407));
    mnuAyuda_->setTitle(App().GetMessage(10408));
    mnuAyuComoUsar_->setText(App().GetMessage(10409) + product);
    mnuAyuSolucion_->setText(App().GetMessage(10410));
    mnuAyuAcercaDe_->setText(App().GetMessage(10411) + product);
    TellHowToChoose();
}

// Until a puzzle is chosen the window is empty: a screen reader, which
// reads the window's description when it opens, tells the keys to choose.
void frmMain::TellHowToChoose() {
    const auto caption = [](int number) { return GridSpeech::Spoken(App().GetMessage(number)); };
    const auto letter = [](int number) {
        const QString text = App().GetMessage(number);
        const qsizetype at = text.indexOf(QLatin1Char('&'));
        return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toUpper() : QChar();
    };
    setAccessibleDescription(
        App().GetMessage(11213).arg(caption(10404), caption(10405), letter(10404), letter(10405)));
}

// The client area becomes exactly the background picture's size, whatever
// the frame and the menu bar take.
void frmMain::SizeForBackground() {
    try {
        const WindowMetrics outer = Windows().GetWindowSize(this);
        const WindowMetrics client = Windows().GetClientSize(this);
        Windows().PlaceWindow(this, outer.width - client.width + 390,
                              outer.height - client.height + 75);
    } catch (const AppError& error) {
        App().ReportError(error, QString(), -1, -1, QString());
    }
}

template <class Command> void frmMain::Report(Command&& command) {
    try {
        command();
    } catch (const AppError& error) {
        App().ReportError(error, QString(), -1, -1, QString());
    }
}

// The saves of the puzzle left behind, the board's and the word list's,
// reach the file together in one write.
void frmMain::mnuOpcSeleccionarJuego_Click() {
    Report([&] {
        RegistryStore::Batch saves;
        ChooseGame();
        saves.Commit();
    });
}

// The board runs the chooser and loads the puzzle; the word list then saves
// the previous puzzle's words and shows the new ones. Once the board holds
// the new puzzle, the list and the window follow it whatever fails on the
// way, so all three show one puzzle; the failure is reported after.
void frmMain::ChooseGame() {
    if (!ctlCuadricula_->ShowGames())
        return;
    try {
        ctlDefiniciones_->Save();
    } catch (const AppError& error) {
        ctlCuadricula_->ReportUnsavedProgress(error);
    }
    ctlDefiniciones_->SetNumeroJuego(ctlCuadricula_->NumeroJuego());
    ctlDefiniciones_->SetPalabras(ctlCuadricula_->Palabras());
    std::optional<AppError> listFailure;
    try {
        ctlDefiniciones_->Refresh();
    } catch (const AppError& error) {
        listFailure = error;
    }
    area_->SetPicture(QPixmap());
    ctlCuadricula_->show();
    ctlDefiniciones_->show();
    ArrangeControls();
    setWindowTitle(App().GetMessage(10400) + QLatin1Char(' ') +
                   QString::number(ctlCuadricula_->NumeroJuego()) + QStringLiteral(" - ") +
                   ctlCuadricula_->Titulo());
    setAccessibleDescription(QString());
    ctlCuadricula_->setFocus();
    if (listFailure)
        throw *listFailure;
    if (ctlDefiniciones_->RowsKeptAside())
        App().ShowInformation(App().GetMessage(11545).arg(ctlCuadricula_->NumeroJuego()),
                              productInfo_->GetProductName(2));
}

void frmMain::ctlCuadricula_ChangeConfiguration() {
    if (ctlCuadricula_->NumeroJuego() > 0)
        ArrangeControls();
}

// Fits the window to the board and the word list side by side, within the
// work area; a control that does not fit gets scroll bars.
void frmMain::ArrangeControls() {
    try {
        const WindowMetrics outer = Windows().GetWindowSize(this);
        const WindowMetrics client = Windows().GetClientSize(this);
        const qint32 FW = Sum({outer.width, -qint64(client.width)});
        const qint32 FH = Sum({outer.height, -qint64(client.height)});
        const WindowMetrics work = Windows().GetWorkArea();
        const qint32 AW = work.width, AH = work.height;
        const qint32 BW = ctlCuadricula_->GetGridWidth(), BH = ctlCuadricula_->GetGridHeight();
        const qint32 LW = ctlDefiniciones_->GetGridWidth(), LH = ctlDefiniciones_->GetGridHeight();
        const qint32 vertical = Windows().GetScrollBarSize(false);

        const bool listScrolls = BH < LH;
        const qint32 S = listScrolls ? vertical : 0;
        qint32 H = Sum({BH, FH});
        qint32 W = Sum({BW, S, 5, LW, FW});
        if (H > AH)
            W = Sum({W, vertical});
        if (W > AW)
            H = Sum({H, Windows().GetScrollBarSize(true)});

        qint32 windowWidth, boardWidth, listWidth;
        if (W > AW) {
            windowWidth = AW;
            const qint32 R = Sum({AW, -qint64(FW), -5});
            const qint32 boardShare = static_cast<qint32>(qint64(R) * 70 / 100);
            const qint32 listShare = static_cast<qint32>(qint64(R) * 30 / 100);
            if (BW > AW && LW > AW) {
                boardWidth = boardShare;
                listWidth = listShare;
            } else if (BW > AW) {
                listWidth = LW;
                boardWidth = Sum({R, -qint64(LW)});
            } else if (LW > AW) {
                boardWidth = BW;
                listWidth = Sum({R, -qint64(BW)});
            } else if (BW <= boardShare) {
                boardWidth = BW;
                listWidth = Sum({R, -qint64(BW)});
            } else {
                listWidth = LW;
                boardWidth = Sum({R, -qint64(LW)});
            }
        } else {
            windowWidth = W;
            boardWidth = H > AH ? Sum({BW, vertical}) : BW;
            listWidth = listScrolls ? Sum({LW, vertical}) : LW;
        }

        qint32 windowHeight, controlHeight;
        if (H > AH) {
            windowHeight = AH;
            controlHeight = Sum({AH, -qint64(FH)});
        } else {
            windowHeight = H;
            controlHeight = W > AW ? Sum({BH, Windows().GetScrollBarSize(true)}) : BH;
        }

        Windows().PlaceWindow(this, windowWidth, windowHeight);
        ctlCuadricula_->setGeometry(0, 0, boardWidth, controlHeight);
        ctlDefiniciones_->setGeometry(Sum({5, boardWidth}), 0, listWidth, controlHeight);
    } catch (const AppError& error) {
        App().ReportError(error, QString(), -1, -1, QString());
    }
}

void frmMain::mnuOpcConfiguracion_Click() {
    Report([&] { ctlCuadricula_->ShowConfiguration(); });
}

void frmMain::mnuAyuComoUsar_Click() {
    Report([&] { ctlCuadricula_->ShowHelp(); });
}

void frmMain::mnuAyuSolucion_Click() {
    Report([&] { ctlCuadricula_->ShowSolution(); });
}

void frmMain::mnuAyuAcercaDe_Click() {
    Report([&] { ctlCuadricula_->ShowAbout(); });
}

bool frmMain::ConfirmExit() {
    try {
        const QString question = App().GetMessage(10402) + QLatin1Char(' ') +
                                 productInfo_->GetProductName(2) + App().GetMessage(10403);
        return App().AskYesNo(question, windowTitle());
    } catch (const AppError&) {
        // Without the question the window stays open, as after No.
        return false;
    }
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (unloaded_) {
        event->accept();
        return;
    }
    // The session may end while the question is open (EndSession): its
    // saves are then done and the window goes, whatever the answer.
    if (!ConfirmExit() && !unloaded_) {
        event->ignore();
        return;
    }
    if (!unloaded_)
        RunUnloadSteps();
    event->accept();
}

void frmMain::EndSession() {
    if (!unloaded_)
        RunUnloadSteps();
    close();
}

// Each step that fails is skipped and the next one runs, so a failing save
// never keeps the program from ending.
void frmMain::RunUnloadSteps() {
    unloaded_ = true;
    std::optional<AppError> failure;
    const auto step = [&](auto&& body) {
        try {
            body();
        } catch (const AppError& error) {
            if (!failure)
                failure = error;
        }
    };
    {
        // Both saves reach the file in one write: a program killed while
        // ending keeps a puzzle's marks and crossed-out words as a pair.
        RegistryStore::Batch saves;
        step([&] { ctlCuadricula_->Save(); });
        step([&] { ctlDefiniciones_->Save(); });
        step([&] { saves.Commit(); });
    }
    // The player hears once that progress could not be kept
    // (perhaps already at a switch); closing goes on.
    if (failure && !ctlCuadricula_->ToldUnsavedProgress())
        App().ReportError(*failure, QString(), -1, -1, QString());
    productInfo_.reset();
    SharedServices::Release();
}
