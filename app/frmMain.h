#pragma once

#include <QMainWindow>
#include <memory>

class BackgroundArea;
class ProductInfo;
class ctlCuadricula;
class ctlLista;
class QAction;
class QMenu;

// The program's main window: the menu, the background picture while no
// puzzle is loaded, and the exit question.
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    // Runs the load steps; an error in them leaves the constructor.
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    bool ShowsBackground() const;
    // The session or the system is ending the program: the closing saves
    // run without the exit question, then the window closes.
    void EndSession();
    ctlCuadricula* Board() const { return ctlCuadricula_; }
    ctlLista* WordList() const { return ctlDefiniciones_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenus();
    void LoadMenuCaptions();
    void TellHowToChoose();
    void SizeForBackground();
    bool ConfirmExit();
    void RunUnloadSteps();
    void ArrangeControls();
    void ChooseGame();
    void ctlCuadricula_ChangeConfiguration();

    void mnuOpcSeleccionarJuego_Click();
    void mnuOpcConfiguracion_Click();
    void mnuAyuComoUsar_Click();
    void mnuAyuSolucion_Click();
    void mnuAyuAcercaDe_Click();

    // Runs one menu command; its error goes to the player.
    template <class Command> void Report(Command&& command);

    std::unique_ptr<ProductInfo> productInfo_;
    BackgroundArea* area_;
    ctlCuadricula* ctlCuadricula_;
    ctlLista* ctlDefiniciones_;
    QMenu* mnuOpciones_;
    QMenu* mnuAyuda_;
    QAction* mnuOpcSeleccionarJuego_;
    QAction* mnuOpcConfiguracion_;
    QAction* mnuOpcSalir_;
    QAction* mnuAyuComoUsar_;
    QAction* mnuAyuSolucion_;
    QAction* mnuAyuAcercaDe_;
    bool unloaded_ = false;
};
