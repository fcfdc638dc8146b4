#include "app/frmMain.h"

#include "app/BackgroundArea.h"
#include "app/modMain.h"
#include "outside/AppServices.h"
#include "outside/ProductInfo.h"
#include "outside/ProgramResources.h"
#include "outside/WindowServices.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>

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

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), area_(new BackgroundArea(this)) {
    setObjectName(QStringLiteral("frmMain"));
    setCentralWidget(area_);
    CreateMenus();

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

void frmMain::mnuOpcSeleccionarJuego_Click() {}

void frmMain::mnuOpcConfiguracion_Click() {}

void frmMain::mnuAyuComoUsar_Click() {}

void frmMain::mnuAyuSolucion_Click() {}

void frmMain::mnuAyuAcercaDe_Click() {}

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
    if (!ConfirmExit()) {
        event->ignore();
        return;
    }
    RunUnloadSteps();
    event->accept();
}

// Each step that fails is skipped and the next one runs, so a failing save
// never keeps the program from ending.
void frmMain::RunUnloadSteps() {
    unloaded_ = true;
    productInfo_.reset();
    SharedServices::Release();
}
