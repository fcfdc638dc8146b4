#include "app/CatalogueText.h"

namespace {
const QString crLf = QStringLiteral("\r\n");
}

QString CatalogueText::WithLineBreaks(const QString& text) {
    QString result = text;
    return result.replace(QStringLiteral("\\n"), crLf);
}

// The break-up happens on the joined text, so the pieces' own backslash-n
// become line breaks wherever they stand.
QString CatalogueText::HelpText(const QString& message11000, const QString& description,
                                const QString& message11003, const QString& message11004,
                                const QString& email) {
    return WithLineBreaks(message11000 + QLatin1Char(' ') + description + crLf + crLf +
                          message11003 + message11004 + QLatin1Char(' ') + email + crLf);
}

QString CatalogueText::AboutText(const QString& notice, const QString& message11101,
                                 const QString& message11102) {
    return WithLineBreaks(notice + crLf + crLf + message11101 + crLf + crLf + message11102);
}
