#pragma once

#include <QPlainTextEdit>

// A multi-line text box with a vertical scroll bar, as the help and about
// windows use it. It keeps its text exactly as given, CR LF included, and
// shows each CR LF as one line break.
class TextBox : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TextBox(QWidget* parent = nullptr);

    QString Text() const { return text_; }
    void SetText(const QString& text);

    // Locked: no editing, but the text can still be selected, copied and
    // scrolled, with the mouse and with the keyboard.
    void SetLocked(bool locked);
    bool Locked() const { return isReadOnly(); }

private:
    QString text_;
};
