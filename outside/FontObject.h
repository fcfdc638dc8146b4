#pragma once

#include <QFont>
#include <QString>
#include <memory>

// A font as the program's windows exchange it: face, size in points held as
// a fixed-point number with four decimals, and the style attributes. Boards
// and grids share one object by reference (FontRef), so a change of its
// attributes is what the grid draws with after ActualizarFont.
class FontObject {
public:
    FontObject();

    QString Name() const { return name_; }
    void SetName(const QString& name) { name_ = name; }

    // Size in points, rounded to four decimal places on the way in.
    double Size() const { return static_cast<double>(sizeUnits_) / 10000.0; }
    void SetSize(double points);
    qint64 SizeUnits() const { return sizeUnits_; }

    bool Bold() const { return weight_ >= 600; }
    void SetBold(bool bold) { weight_ = bold ? 700 : 400; }
    bool Italic() const { return italic_; }
    void SetItalic(bool italic) { italic_ = italic; }
    bool Underline() const { return underline_; }
    void SetUnderline(bool underline) { underline_ = underline; }
    bool Strikethrough() const { return strikethrough_; }
    void SetStrikethrough(bool strikethrough) { strikethrough_ = strikethrough; }
    int Weight() const { return weight_; }
    void SetWeight(int weight) { weight_ = weight; }
    int Charset() const { return charset_; }
    void SetCharset(int charset) { charset_ = charset; }

    QFont ToQFont() const;
    static FontObject FromQFont(const QFont& font);

    bool operator==(const FontObject& other) const = default;

private:
    QString name_;
    qint64 sizeUnits_ = 0;
    int weight_ = 400;
    int charset_ = 0;
    bool italic_ = false;
    bool underline_ = false;
    bool strikethrough_ = false;
};

using FontRef = std::shared_ptr<FontObject>;

inline FontRef MakeFont(const FontObject& font = FontObject()) {
    return std::make_shared<FontObject>(font);
}
