// The bytes are the stored appearance settings. Every line, and the whole
// text, goes through the conversions the board applies to stored values;
// then the real board reads them from the real store when it is refreshed.
// Lines 1 to 10 are the ten values in the order the board reads them (a
// missing line: never stored); bytes that start with '[' are instead the
// whole settings file, as a person might have edited it.
#include "FuzzFolder.h"
#include "FuzzHome.h"

#include "board/ctlCuadricula.h"
#include "outside/AppError.h"
#include "outside/Conversions.h"
#include "outside/PersonStandIn.h"
#include "outside/ProductInfo.h"
#include "outside/RegistryStore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QList>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>

namespace {

const char* const kNames[] = {"ColorFondo", "ColorSel", "ColorCelAct", "ColorLineas", "FontColor",
                              "ImageFile",  "FontBold", "FontItalic",  "FontSize",    "FontName"};

const char* const kDataFile = "[1]\nTitulo=Sol\nCantAncho=3\nCantAlto=2\nLetras=SOLAXE\n"
                              "Palabras=SOL\nSolucion=001002003\n";

[[noreturn]] void Broken(const char* what, const QString& text) {
    std::fprintf(stderr, "%s: \"%s\"\n", what, qPrintable(text));
    std::abort();
}

// Conversions may only refuse a value as no number (13) or out of range (6).
template <class Convert>
auto Attempt(const QString& text, Convert convert) -> std::optional<decltype(convert())> {
    try {
        return convert();
    } catch (const AppError& error) {
        if (error.Number() != ErrorNumber::Overflow && error.Number() != ErrorNumber::TypeMismatch)
            Broken("a conversion failed with another error than 6 or 13", text);
        return std::nullopt;
    }
}

void CheckRounding(double value, const QString& text) {
    const double rounded = Conversions::RoundHalfEven(value);
    if (!std::isfinite(value))
        return;
    const double distance = std::fabs(rounded - value);
    if (rounded != std::floor(rounded) || distance > 0.5 ||
        (distance == 0.5 && std::fmod(rounded, 2.0) != 0))
        Broken("RoundHalfEven did not round to the nearest, half to even", text);
}

void CheckConversions(const QString& text) {
    const QString source = QStringLiteral("fuzz");
    const double number = Conversions::NumericValue(text);
    if (std::isnan(number))
        Broken("NumericValue gave no number", text);
    CheckRounding(number, text);
    const auto colour = Attempt(text, [&] { return Conversions::ToInteger32(number, source); });
    if (colour && *colour != Conversions::RoundHalfEven(number))
        Broken("ToInteger32(double) changed the rounded value", text);
    if (!colour && std::fabs(Conversions::RoundHalfEven(number)) < 2147483648.0 &&
        Conversions::RoundHalfEven(number) != -2147483648.0)
        Broken("ToInteger32(double) refused a value in range", text);

    const auto whole16 = Attempt(text, [&] { return Conversions::ToInteger16(text, source); });
    const auto whole32 = Attempt(text, [&] { return Conversions::ToInteger32(text, source); });
    // A whole-number text is the same number wherever it starts.
    if (whole32 && (!colour || *whole32 != *colour))
        Broken("ToInteger32(text) and NumericValue disagree", text);
    if (whole16 && (!whole32 || *whole16 != *whole32))
        Broken("ToInteger16 and ToInteger32 disagree", text);
    if (whole16 &&
        Conversions::ToInteger16(Conversions::FormatDigits(*whole16, 3), source) != *whole16)
        Broken("FormatDigits did not read back", text);
}

QString KeyPath() {
    return ProductInfo().GetRegistryKey(2, 0);
}

// A stored picture is looked for in the program folder only: a name from the
// fuzzer must not reach devices or pipes elsewhere on this machine.
QString PictureInProgramFolder(QString name) {
    if (name.isEmpty())
        return name;
    name.replace(u'/', u'_').replace(u'\\', u'_');
    return FuzzHome::ProgramFolder() + u'/' + name;
}

void StoreLines(const QList<QByteArrayView>& lines) {
    for (qsizetype i = 0; i < lines.size() && i < qsizetype(std::size(kNames)); ++i) {
        QString text = FuzzFolder::DecodeText(lines[i]);
        if (i == 5)
            text = PictureInProgramFolder(text);
        RegistryStore().WriteValue(RegistryStore::CurrentUser, KeyPath(), QLatin1String(kNames[i]),
                                   text, RegistryStore::Text);
        const QString back =
            RegistryStore()
                .ReadValue(RegistryStore::CurrentUser, KeyPath(), QLatin1String(kNames[i]))
                .toString();
        if (back != text)
            Broken("the store gave back another text than it was given", text);
    }
}

QVariant Stored(const char* name) {
    return RegistryStore().ReadValue(RegistryStore::CurrentUser, KeyPath(), QLatin1String(name));
}

// The store's settings cache tells a rewritten file by its size and time
// (in milliseconds): give each written file a time of its own. False when
// the board must not read the file: its picture could not be moved into
// the program folder, because the store refuses to write a broken file.
bool StoreWholeFile(QByteArrayView bytes) {
    static qint64 written = 0;
    QFile file(FuzzHome::StoreFile());
    QDir().mkpath(QFileInfo(file).path());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), bytes.size()) != bytes.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
    file.flush();
    file.setFileTime(QDateTime::fromSecsSinceEpoch(1000000000 + ++written),
                     QFileDevice::FileModificationTime);
    file.close();
    const QVariant picture = Stored("ImageFile");
    if (!picture.isValid() || picture.toString().isEmpty())
        return true;
    try {
        RegistryStore().WriteValue(RegistryStore::CurrentUser, KeyPath(), "ImageFile",
                                   PictureInProgramFolder(picture.toString()), RegistryStore::Text);
        return true;
    } catch (const AppError& error) {
        if (error.Number() != ErrorNumber::PathFileAccess)
            Broken("the store refused a write with an unexpected error", error.Description());
        for (const char* name : kNames)
            Stored(name);
        return false;
    }
}

// While the board reads its settings, the messages it may show are an error
// naming a stored colour that did not convert and one telling a stored font
// size past the sizes offered; anything else stops the fuzzer, as every
// message does outside.
class ColourReports : public PersonStandIn {
public:
    ColourReports() : previous_(PersonStandIn::Current()) { PersonStandIn::Install(this); }
    ~ColourReports() override { PersonStandIn::Install(previous_); }

    bool AnswerYesNo(const QString& text, const QString& title) override {
        return previous_->AnswerYesNo(text, title);
    }
    void Acknowledge(Notice kind, const QString& text, const QString& title) override {
        const bool aColour = std::any_of(std::begin(kNames), std::begin(kNames) + 5,
                                         [&](const char* name) { return text.contains(name); });
        const bool aColourReport =
            aColour && text.startsWith(QStringLiteral("Error 6\nctlCuadricula.LoadConfiguration"));
        const bool aSizeReport =
            text.startsWith(QStringLiteral("Error 5\nctlCuadricula.LoadConfiguration"));
        if (kind != Notice::Error || !(aColourReport || aSizeReport))
            previous_->Acknowledge(kind, text, title);
    }
    bool PickColour(qint32& colour) override { return previous_->PickColour(colour); }
    bool PickFont(FontChoice& font, int minSize, int maxSize) override {
        return previous_->PickFont(font, minSize, maxSize);
    }
    bool PickFile(QString& path, const QString& title, const QString& filter) override {
        return previous_->PickFile(path, title, filter);
    }
    void OpenAddress(const QString& address) override { previous_->OpenAddress(address); }

private:
    PersonStandIn* previous_;
};

// A stored value that does not convert costs that value only: the board
// still refreshes and paints.
void ShowBoard() {
    const ColourReports reports;
    ctlCuadricula board;
    board.SetNumeroJuego(1);
    board.LoadPuzzle();
    try {
        board.Refresh(true);
    } catch (const AppError& error) {
        // A whole settings file may also hold a damaged saved value.
        if (error.Number() != ErrorNumber::TypeMismatch ||
            error.Source() != QLatin1String("ctlCuadricula.Load"))
            Broken("the board refused its settings with an unexpected error",
                   QStringLiteral("%1 %2 %3")
                       .arg(error.Number())
                       .arg(error.Source(), error.Description()));
    }
    if (board.MarkedColour() == -1)
        Broken("the board marks cells in the colour of unmarked ones", QString());
    board.resize(200, 150);
    board.grab(); // paints with the stored colours, font and picture
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    FuzzHome::Start(argc, argv);
    FuzzHome::WriteDataFile(kDataFile);
    // Pictures the stored "ImageFile" can name: a real one and a broken one.
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    picture.save(FuzzHome::ProgramFolder() + QStringLiteral("/fondo.png"));
    QFile broken(FuzzHome::ProgramFolder() + QStringLiteral("/roto.png"));
    if (broken.open(QIODevice::WriteOnly))
        broken.write("\x89PNG\r\n\x1a\n broken");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(data, qsizetype(size));
    CheckConversions(FuzzFolder::DecodeText(bytes));
    QList<QByteArrayView> lines;
    for (qsizetype start = 0; start <= bytes.size();) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        lines << bytes.sliced(start, end - start);
        CheckConversions(FuzzFolder::DecodeText(lines.back()));
        start = end + 1;
    }

    FuzzHome::FreshStore();
    bool show = true;
    if (bytes.startsWith('['))
        show = StoreWholeFile(bytes);
    else if (!bytes.isEmpty())
        StoreLines(lines);
    if (show)
        ShowBoard();
    QCoreApplication::sendPostedEvents();
    return 0;
}
