#include "MadePuzzle.h"

namespace {

// The profile reader drops one matching pair of outer quotes, so a title
// that is itself quoted gets a second pair to lose.
QString ProtectedValue(const QString& value) {
    const bool quoted = value.size() >= 2 && value.front() == value.back() &&
                        (value.front() == u'"' || value.front() == u'\'');
    return quoted ? u'"' + value + u'"' : value;
}

} // namespace

QString MadePuzzle::IniSection(int number) const {
    QString section;
    section += QStringLiteral("[%1]\n").arg(number);
    section += QStringLiteral("Titulo=") + ProtectedValue(title) + u'\n';
    section += QStringLiteral("CantAncho=%1\n").arg(columns);
    section += QStringLiteral("CantAlto=%1\n").arg(rows);
    section += QStringLiteral("Letras=") + letters + u'\n';
    section += QStringLiteral("Palabras=") + words.join(u' ') + u'\n';
    section += QStringLiteral("Solucion=") + solution + u'\n';
    section += u'\n';
    return section;
}
