#include "dialogs/frmConfiguracion.h"

#include "board/ctlCuadricula.h"
#include "outside/AppServices.h"
#include "outside/ColourNames.h"
#include "outside/CommonDialogs.h"
#include "outside/Conversions.h"
#include "outside/GridSpeech.h"
#include "outside/WindowHandle.h"
#include "outside/WindowServices.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

namespace {
// Client area and row pitch of the settings area, in twips.
constexpr int FormWidth = 4560;
constexpr int FormHeight = 3765;
constexpr int RowPitch = 570;

// The pictures the grid can draw, in the words the player has always seen.
QString PictureFilter() {
    return QStringLiteral("Todos los archivos de imágenes|"
                          "*.bmp;*.dib;*.gif;*.jpg;*.wmf;*.emf;*.ico;*.cur|") +
           QStringLiteral("Mapas de bits (*.bmp;*.dib)|*.bmp;*.dib|") +
           QStringLiteral("Imágenes GIF (*.gif)|*.gif|") +
           QStringLiteral("Imágenes JPEG (*.jpg)|*.jpg|") +
           QStringLiteral("Metarchivos (*.wmf;*.emf)|*.wmf;*.emf|") +
           QStringLiteral("Iconos (*.ico;*.cur)|*.ico;*.cur|") +
           QStringLiteral("Todos los archivos (*.*)|*.*");
}

void Report(const AppError& error) {
    AppServices().ReportError(error, QString(), -1, -1, QString());
}

// A label showing a plain colour inside a thin frame.
void PaintBackColor(QLabel* label, qint32 colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, ColourFromWindows(colour));
    label->setPalette(palette);
}

// The font dialog deals in whole points.
int WholePoints(double size) {
    const double points = Conversions::RoundHalfEven(size);
    if (points < std::numeric_limits<qint16>::min() || points > std::numeric_limits<qint16>::max())
        throw AppError(ErrorNumber::Overflow, QStringLiteral("frmConfiguracion.cmdFuente_Click"),
                       AppServices().GetMessage(11601));
    return static_cast<int>(points);
}
} // namespace

frmConfiguracion::frmConfiguracion(QWidget* parent)
    : QDialog(parent), fraOpciones_(new QGroupBox(this)), picOpciones_(new QWidget(this)) {
    loading_ = true;
    setObjectName(QStringLiteral("frmConfiguracion"));
    BuildControls();
    PlaceControls();
    SetTabOrder();
    previewFont_ = FontObject::FromQFont(lblFuente_->font());
    ShowPreview();
}

frmConfiguracion::~frmConfiguracion() = default;

void frmConfiguracion::BuildControls() {
    fraOpciones_->setObjectName(QStringLiteral("fraOpciones"));
    // The caption sits on the frame's line, as on the classic frame, so the
    // first row fits under it.
    fraOpciones_->setStyleSheet(QStringLiteral(
        "QGroupBox#fraOpciones { border: 1px solid palette(mid); border-radius: 2px;"
        " margin-top: 0.5em; }"
        "QGroupBox#fraOpciones::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
    picOpciones_->setObjectName(QStringLiteral("picOpciones"));
    for (int i = 0; i < 6; ++i) {
        lblEtiquetas_[i] = new QLabel(picOpciones_);
        lblEtiquetas_[i]->setObjectName(QStringLiteral("lblEtiquetas_%1").arg(i));
    }
    for (int i = 0; i < 4; ++i) {
        QLabel* swatch = new QLabel(picOpciones_);
        swatch->setObjectName(QStringLiteral("lblColores_%1").arg(i));
        swatch->setFrameStyle(QFrame::Box | QFrame::Plain);
        swatch->setAutoFillBackground(true);
        lblColores_[i] = swatch;
        SetlblColoresBackColor(i, 0);
    }
    lblFuente_ = new QLabel(QStringLiteral("M"), picOpciones_);
    lblFuente_->setObjectName(QStringLiteral("lblFuente"));
    lblFuente_->setAlignment(Qt::AlignCenter);
    // The letter takes the chosen colour; the frame keeps the usual one.
    lblFuente_->setForegroundRole(QPalette::Text);
    lblFuente_->setStyleSheet(
        QStringLiteral("QLabel#lblFuente { border: 1px solid palette(window-text); }"));

    // The buttons and the path lie on the form, over the frame.
    for (int i = 0; i < 4; ++i) {
        cmdColores_[i] = new QPushButton(QStringLiteral("..."), this);
        cmdColores_[i]->setObjectName(QStringLiteral("cmdColores_%1").arg(i));
        connect(cmdColores_[i], &QPushButton::clicked, this,
                [this, i] { cmdColores_Click(static_cast<qint16>(i)); });
    }
    cmdFuente_ = new QPushButton(QStringLiteral("..."), this);
    cmdFuente_->setObjectName(QStringLiteral("cmdFuente"));
    connect(cmdFuente_, &QPushButton::clicked, this, &frmConfiguracion::cmdFuente_Click);
    txtImageFile_ = new QLineEdit(this);
    txtImageFile_->setObjectName(QStringLiteral("txtImageFile"));
    txtImageFile_->installEventFilter(this);
    connect(txtImageFile_, &QLineEdit::textChanged, this, &frmConfiguracion::txtImageFile_Change);
    cmdAbrir_ = new QPushButton(QStringLiteral("..."), this);
    cmdAbrir_->setObjectName(QStringLiteral("cmdAbrir"));
    connect(cmdAbrir_, &QPushButton::clicked, this, &frmConfiguracion::cmdAbrir_Click);
    for (int i = 0; i < 4; ++i) {
        cmdAcciones_[i] = new QPushButton(this);
        cmdAcciones_[i]->setObjectName(QStringLiteral("cmdAcciones_%1").arg(i));
        connect(cmdAcciones_[i], &QPushButton::clicked, this,
                [this, i] { cmdAcciones_Click(static_cast<qint16>(i)); });
    }

    // Enter presses the focused button, as Space does; where the focus is on
    // no button (the path), Enter presses Aceptar, the default button.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(true);
    cmdAcciones_[0]->setDefault(true);
    cmdAcciones_[2]->setEnabled(false);
}

void frmConfiguracion::PlaceControls() {
    const WindowServices windows;
    setFixedSize(windows.SizeFromTwips(FormWidth, FormHeight));
    windows.MoveTwips(fraOpciones_, 30, 30, 2955, 3675);
    windows.MoveTwips(picOpciones_, 120, 240, 2385, 3045);
    for (int i = 0; i < 5; ++i)
        windows.MoveTwips(lblEtiquetas_[i], 0, 150 + RowPitch * i, 810, 195);
    windows.MoveTwips(lblEtiquetas_[5], 0, 2820, 810, 195);
    for (int i = 0; i < 4; ++i)
        windows.MoveTwips(lblColores_[i], 1890, RowPitch * i, 465, 465);
    windows.MoveTwips(lblFuente_, 1890, 2280, 465, 465);
    for (int i = 0; i < 4; ++i)
        windows.MoveTwips(cmdColores_[i], 2550, 390 + RowPitch * i, 345, 315);
    windows.MoveTwips(cmdFuente_, 2550, 2670, 345, 315);
    windows.MoveTwips(txtImageFile_, 120, 3300, 2445, 315);
    windows.MoveTwips(cmdAbrir_, 2580, 3300, 315, 315);
    for (int i = 0; i < 4; ++i)
        windows.MoveTwips(cmdAcciones_[i], 3090, 150 + 480 * i, 1365, 375);
}

// The captions are laid out for the classic 8-point face; ours is taller and
// wider. A caption grows to its text around the same middle line, never into
// the swatch beside it.
void frmConfiguracion::FitCaptions() {
    const int gap = 4;
    for (int i = 0; i < 6; ++i) {
        QLabel* caption = lblEtiquetas_[i];
        const QRect place = caption->geometry();
        const QSize wanted = caption->sizeHint();
        const int room = (i < 5 ? lblColores_[0]->x() : picOpciones_->width()) - gap - place.x();
        const int width = qBound(place.width(), wanted.width(), qMax(place.width(), room));
        const int height = qMax(place.height(), wanted.height());
        caption->setGeometry(place.x(), place.center().y() - (height - 1) / 2, width, height);
    }
}

void frmConfiguracion::SetTabOrder() {
    QWidget* order[] = {cmdColores_[0],  cmdColores_[1],  cmdColores_[2], cmdColores_[3],
                        cmdFuente_,      txtImageFile_,   cmdAbrir_,      cmdAcciones_[0],
                        cmdAcciones_[1], cmdAcciones_[2], cmdAcciones_[3]};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    cmdColores_[0]->setFocus();
}

void frmConfiguracion::Design() {
    FitCaptions();
    loading_ = false;
    NameForScreenReaders();
    setModal(true);
    exec();
}

void frmConfiguracion::SetlblColoresBackColor(int index, qint32 colour) {
    swatchColours_.at(index) = colour;
    PaintBackColor(lblColores_.at(index), colour);
    NameForScreenReaders();
}

void frmConfiguracion::SetlblFuenteFont(const FontObject& font) {
    previewFont_ = font;
    ShowPreview();
}

void frmConfiguracion::SetlblFuenteForeColor(qint32 colour) {
    previewColour_ = colour;
    ShowPreview();
}

void frmConfiguracion::ShowPreview() {
    lblFuente_->setFont(previewFont_.ToQFont());
    QPalette palette = lblFuente_->palette();
    palette.setColor(QPalette::Text, ColourFromWindows(previewColour_));
    lblFuente_->setPalette(palette);
    NameForScreenReaders();
}

// A swatch or the preview is only a picture: a screen reader hears its row
// caption with the colour (a name, then its numbers) or font it shows. The
// "..." buttons say what their tooltips say, then the row and what it
// shows now. Named once the dialog is filled (Design), then after every
// change.
void frmConfiguracion::NameForScreenReaders() {
    if (loading_)
        return;
    const AppServices app;
    // A row caption without its colon, which a screen reader would say.
    const auto row = [this](int i) { return GridSpeech::Spoken(lblEtiquetas_[i]->text()); };
    // The colour's name a person would use, then its numbers.
    const auto named = [](QString text, qint32 colour) {
        const QColor shown = ColourFromWindows(colour);
        return text.arg(ColourNames::Nearest(shown))
            .arg(shown.red())
            .arg(shown.green())
            .arg(shown.blue());
    };
    for (int i = 0; i < 4; ++i) {
        lblColores_[i]->setAccessibleName(
            named(app.GetMessage(11220).arg(row(i)), swatchColours_[i]));
        cmdColores_[i]->setAccessibleName(cmdColores_[i]->toolTip());
        cmdColores_[i]->setAccessibleDescription(app.GetMessage(11225).arg(
            row(i), ColourNames::Nearest(ColourFromWindows(swatchColours_[i]))));
    }
    QString font = app.GetMessage(11221).arg(row(4), previewFont_.Name(),
                                             QString::number(previewFont_.Size()));
    if (previewFont_.Bold())
        font += QStringLiteral(", ") + app.GetMessage(11222);
    if (previewFont_.Italic())
        font += QStringLiteral(", ") + app.GetMessage(11223);
    font = app.GetMessage(11225).arg(font, named(app.GetMessage(11224), previewColour_));
    lblFuente_->setAccessibleName(font);
    cmdFuente_->setAccessibleName(cmdFuente_->toolTip());
    cmdFuente_->setAccessibleDescription(font);
    txtImageFile_->setAccessibleName(row(5));
    cmdAbrir_->setAccessibleName(cmdAbrir_->toolTip());
}

void frmConfiguracion::cmdColores_Click(qint16 Index) {
    try {
        qint32 colour = lblColoresBackColor(Index);
        if (CommonDialogs().ShowColor(colour, WindowHandle::Of(this), -1, -1, 0, 0)) {
            SetlblColoresBackColor(Index, colour);
            cmdAcciones_[2]->setEnabled(true);
        }
    } catch (const AppError& error) {
        Report(error);
    }
}

void frmConfiguracion::cmdFuente_Click() {
    try {
        bool bold = previewFont_.Bold();
        bool italic = previewFont_.Italic();
        qint32 colour = previewColour_;
        int size = WholePoints(previewFont_.Size());
        QString name = previewFont_.Name();
        if (!CommonDialogs().ShowFont(WindowHandle::Of(this), name, size, bold, italic, colour, 8,
                                      24))
            return;
        FontObject font = previewFont_;
        font.SetBold(bold);
        font.SetItalic(italic);
        font.SetSize(size);
        font.SetName(name);
        SetlblFuenteFont(font);
        SetlblFuenteForeColor(colour);
        cmdAcciones_[2]->setEnabled(true);
    } catch (const AppError& error) {
        Report(error);
    }
}

void frmConfiguracion::cmdAbrir_Click() {
    try {
        QString fileName;
        if (CommonDialogs().ShowOpenFile(fileName, WindowHandle::Of(this), QString(),
                                         PictureFilter())) {
            txtImageFile_->setText(fileName);
            cmdAcciones_[2]->setEnabled(true);
        }
    } catch (const AppError& error) {
        Report(error);
    }
}

void frmConfiguracion::txtImageFile_Change() {
    if (!loading_)
        cmdAcciones_[2]->setEnabled(true);
}

void frmConfiguracion::txtImageFile_GotFocus() {
    txtImageFile_->setSelection(0, static_cast<int>(txtImageFile_->text().size()));
}

// Entering the path box selects it all, so typing replaces it; a click then
// places the caret as usual. Coming back to the window is not entering it.
bool frmConfiguracion::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtImageFile_ && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            txtImageFile_GotFocus();
    }
    return QDialog::eventFilter(watched, event);
}

// An error while applying or setting the defaults is shown and the dialog
// stays open, so the player can try again or cancel.
void frmConfiguracion::cmdAcciones_Click(qint16 Index) {
    try {
        switch (Index) {
        case 0:
            if (cmdAcciones_[2]->isEnabled())
                Board().ApplyDialogSettings();
            Close();
            break;
        case 1:
            reject();
            break;
        case 2:
            Board().ApplyDialogSettings();
            cmdAcciones_[2]->setEnabled(false);
            break;
        case 3:
            Board().SetDialogDefaults();
            cmdAcciones_[2]->setEnabled(true);
            break;
        default:
            break;
        }
    } catch (const AppError& error) {
        Report(error);
    }
}

void frmConfiguracion::Close() {
    Cuadricula_ = nullptr;
    QDialog::accept();
}

void frmConfiguracion::reject() {
    Cuadricula_ = nullptr;
    QDialog::reject();
}

ctlCuadricula& frmConfiguracion::Board() const {
    if (!Cuadricula_)
        throw AppError(ErrorNumber::ObjectNotSet, QStringLiteral("frmConfiguracion"),
                       AppServices().GetMessage(11612));
    return *Cuadricula_;
}
