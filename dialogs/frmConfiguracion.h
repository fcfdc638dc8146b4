#pragma once

#include "outside/FontObject.h"

#include <QDialog>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class ctlCuadricula;

// The appearance settings dialog. The values being edited live only in its
// controls until the player accepts or applies; the board it was given
// (Cuadricula) then takes them. The apply button is enabled exactly while
// there are changes not yet applied, which decides whether accepting applies.
class frmConfiguracion : public QDialog {
    Q_OBJECT

public:
    // Form_Load: the loading flag is set before any control is filled.
    explicit frmConfiguracion(QWidget* parent = nullptr);
    ~frmConfiguracion() override;

    void SetCuadricula(ctlCuadricula* board) { Cuadricula_ = board; }
    // Clears the loading flag and shows the dialog modally; returns when it
    // has been closed.
    void Design();
    bool Loading() const { return loading_; }

    QGroupBox* fraOpciones() const { return fraOpciones_; }
    QWidget* picOpciones() const { return picOpciones_; }
    QLabel* lblEtiquetas(int index) const { return lblEtiquetas_.at(index); }
    QLabel* lblColores(int index) const { return lblColores_.at(index); }
    QLabel* lblFuente() const { return lblFuente_; }
    QPushButton* cmdColores(int index) const { return cmdColores_.at(index); }
    QPushButton* cmdFuente() const { return cmdFuente_; }
    QLineEdit* txtImageFile() const { return txtImageFile_; }
    QPushButton* cmdAbrir() const { return cmdAbrir_; }
    QPushButton* cmdAcciones(int index) const { return cmdAcciones_.at(index); }

    // The back colour of swatch lblColores(index), as a Windows colour. The
    // value is kept as given, so one the screen cannot show survives a round
    // trip through the dialog.
    qint32 lblColoresBackColor(int index) const { return swatchColours_.at(index); }
    void SetlblColoresBackColor(int index, qint32 colour);
    // The font and fore colour of the preview lblFuente.
    const FontObject& lblFuenteFont() const { return previewFont_; }
    void SetlblFuenteFont(const FontObject& font);
    qint32 lblFuenteForeColor() const { return previewColour_; }
    void SetlblFuenteForeColor(qint32 colour);

    void cmdColores_Click(qint16 Index);
    void cmdFuente_Click();
    void cmdAbrir_Click();
    void txtImageFile_Change();
    void txtImageFile_GotFocus();
    void cmdAcciones_Click(qint16 Index);

    // Esc and the close box cancel: nothing is applied.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void PlaceControls();
    void SetTabOrder();
    void FitCaptions();
    void ShowPreview();
    void NameForScreenReaders();
    void Close();
    ctlCuadricula& Board() const;

    ctlCuadricula* Cuadricula_ = nullptr;
    bool loading_ = false;
    std::array<qint32, 4> swatchColours_{};
    FontObject previewFont_;
    qint32 previewColour_ = 0;

    QGroupBox* fraOpciones_;
    QWidget* picOpciones_;
    std::array<QLabel*, 6> lblEtiquetas_{};
    std::array<QLabel*, 4> lblColores_{};
    QLabel* lblFuente_;
    std::array<QPushButton*, 4> cmdColores_{};
    QPushButton* cmdFuente_;
    QLineEdit* txtImageFile_;
    QPushButton* cmdAbrir_;
    std::array<QPushButton*, 4> cmdAcciones_{};
};
