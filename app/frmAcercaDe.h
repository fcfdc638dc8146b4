#pragma once

#include <QDialog>
#include <array>

class LinkLabel;
class QLabel;
class QPushButton;
class TextBox;

// The about window: the product, the puzzle being played, a short text and
// two links, the maker's e-mail and web addresses. Its texts are filled by
// the board's ShowAbout.
class frmAcercaDe : public QDialog {
    Q_OBJECT

public:
    explicit frmAcercaDe(QWidget* parent = nullptr);

    QLabel* imgAcercaDe() const { return imgAcercaDe_; }
    QLabel* lblSistema() const { return lblSistema_; }
    QLabel* lblNumeroJuego() const { return lblNumeroJuego_; }
    TextBox* txtCopyright() const { return txtCopyright_; }
    QPushButton* cmdAceptar() const { return cmdAceptar_; }
    // The two headings: 0 for the e-mail line, 1 for the web line.
    QLabel* Label1(int index) const { return Label1_.at(static_cast<size_t>(index)); }
    LinkLabel* lblEmail() const { return lblEmail_; }
    LinkLabel* lblWeb() const { return lblWeb_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::array<QLabel*, 6> Labels() const;
    void FitLabelsToText();
    void cmdAceptar_Click();
    void lblEmail_Click();
    void lblWeb_Click();
    void Open(const QString& address);

    QLabel* imgAcercaDe_;
    QLabel* lblSistema_;
    QLabel* lblNumeroJuego_;
    TextBox* txtCopyright_;
    QPushButton* cmdAceptar_;
    std::array<QLabel*, 2> Label1_;
    LinkLabel* lblEmail_;
    LinkLabel* lblWeb_;
};
