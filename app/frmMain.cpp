#include "app/frmMain.h"

#include "app/BackgroundArea.h"
#include "app/modMain.h"
#include "board/ctlCuadricula.h"
#include "core/MainWindowLayout.h"
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
#include <optional>

namespace {
AppServices& App() {
    return SharedServices::App();
}

WindowServices& Windows() {
    return SharedServices::Windows();
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
        const WindowMetrics work = Windows().GetWorkArea();
        const MainWindowLayout::Places places = MainWindowLayout::Arrange(
            {QSize(outer.width, outer.height), QSize(client.width, client.height),
             QSize(work.width, work.height),
             QSize(ctlCuadricula_->GetGridWidth(), ctlCuadricula_->GetGridHeight()),
             QSize(ctlDefiniciones_->GetGridWidth(), ctlDefiniciones_->GetGridHeight()),
             Windows().GetScrollBarSize(false), Windows().GetScrollBarSize(true)});
        Windows().PlaceWindow(this, places.window.width(), places.window.height());
        ctlCuadricula_->setGeometry(places.board);
        ctlDefiniciones_->setGeometry(places.list);
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
