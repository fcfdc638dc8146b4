// The settings dialog as the board runs it: it opens on the stored
// appearance, and applying it stores the appearance and shows it.
#include "board/ctlCuadricula.h"

#include "core/AppearanceDefaults.h"
#include "dialogs/frmConfiguracion.h"
#include "outside/AppServices.h"
#include "outside/WindowServices.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
// Attribute by attribute, so the target stays the same object.
void CopyFontAttributes(const FontObject& from, FontObject& to) {
    to.SetBold(from.Bold());
    to.SetCharset(from.Charset());
    to.SetItalic(from.Italic());
    to.SetName(from.Name());
    to.SetSize(from.Size());
    to.SetStrikethrough(from.Strikethrough());
    to.SetUnderline(from.Underline());
    to.SetWeight(from.Weight());
}

// The dialog member lives exactly as long as the dialog is shown, however
// ShowConfiguration ends.
class DialogMember {
public:
    DialogMember(frmConfiguracion*& member, frmConfiguracion* dialog) : member_(member) {
        member_ = dialog;
    }
    ~DialogMember() { member_ = nullptr; }
    DialogMember(const DialogMember&) = delete;
    DialogMember& operator=(const DialogMember&) = delete;

private:
    frmConfiguracion*& member_;
};
} // namespace

void ctlCuadricula::ShowConfiguration() {
    ReraiseAs("ctlCuadricula.ShowConfiguration", [&] {
        LoadConfiguration();
        frmConfiguracion form;
        const DialogMember member(settingsDialog_, &form);
        form.SetCuadricula(this);

        form.setWindowTitle(appServices_->GetMessage(10700));
        const int actions[] = {10000, 10001, 10003, 10004};
        for (int i = 0; i < 4; ++i)
            form.cmdAcciones(i)->setText(appServices_->GetMessage(actions[i]));
        form.fraOpciones()->setTitle(appServices_->GetMessage(10701));
        for (int i = 0; i < 6; ++i)
            form.lblEtiquetas(i)->setText(appServices_->GetMessage(10702 + i));
        for (int i = 0; i < 4; ++i)
            form.cmdColores(i)->setToolTip(appServices_->GetMessage(10708));
        form.cmdFuente()->setToolTip(appServices_->GetMessage(10709));
        form.cmdAbrir()->setToolTip(appServices_->GetMessage(10710));

        form.SetlblColoresBackColor(0, backColour_);
        form.SetlblColoresBackColor(1, markedColour_);
        form.SetlblColoresBackColor(2, activeColour_);
        form.SetlblColoresBackColor(3, lineColour_);
        FontObject preview = form.lblFuenteFont();
        CopyFontAttributes(*font_, preview);
        form.SetlblFuenteFont(preview);
        form.SetlblFuenteForeColor(textColour_);
        form.txtImageFile()->setText(pictureFile_);

        windowServices_->PlaceWindow(&form, 0, 0);
        form.Design();
        form.SetCuadricula(nullptr);
    });
}

void ctlCuadricula::ApplyDialogSettings() {
    if (!settingsDialog_)
        return;
    frmConfiguracion& form = *settingsDialog_;
    backColour_ = form.lblColoresBackColor(0);
    markedColour_ = form.lblColoresBackColor(1);
    activeColour_ = form.lblColoresBackColor(2);
    lineColour_ = form.lblColoresBackColor(3);
    CopyFontAttributes(form.lblFuenteFont(), *font_);
    textColour_ = form.lblFuenteForeColor();
    const QString path = form.txtImageFile()->text();
    if (appServices_->FileExists(path)) {
        pictureFile_ = path;
    } else {
        pictureFile_.clear();
        form.txtImageFile()->clear();
    }
    SaveConfiguration();
    ApplyConfiguration(false, true);
}

void ctlCuadricula::SetDialogDefaults() {
    if (!settingsDialog_)
        return;
    frmConfiguracion& form = *settingsDialog_;
    form.SetlblColoresBackColor(
        0, windowServices_->GetSystemColor(AppearanceDefaults::BackgroundColour));
    form.SetlblColoresBackColor(1,
                                windowServices_->GetSystemColor(AppearanceDefaults::MarkedColour));
    form.SetlblColoresBackColor(
        2, windowServices_->GetSystemColor(AppearanceDefaults::ActiveCellColour));
    form.SetlblColoresBackColor(3, windowServices_->GetSystemColor(AppearanceDefaults::LineColour));
    FontObject preview = form.lblFuenteFont();
    preview.SetBold(false);
    preview.SetItalic(false);
    preview.SetSize(AppearanceDefaults::FontSize);
    preview.SetName(AppearanceDefaults::FontName());
    form.SetlblFuenteFont(preview);
    form.SetlblFuenteForeColor(windowServices_->GetSystemColor(AppearanceDefaults::TextColour));
    form.txtImageFile()->setText(QString());
}
