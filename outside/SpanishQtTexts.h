#pragma once

#include <QTranslator>

// Qt's own texts that its Spanish translation lacks: the kinds the file
// picker gives folders, links and drives. Installed before Qt's file, so
// that a Qt whose file has them is asked first.
class SpanishQtTexts : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* source, const char* disambiguation,
                      int n) const override;
    bool isEmpty() const override { return false; }
};
