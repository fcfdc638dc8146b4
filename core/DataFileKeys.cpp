#include "core/DataFileKeys.h"

const QString DataFileKeys::Title = QStringLiteral("Titulo");
const QString DataFileKeys::Columns = QStringLiteral("CantAncho");
const QString DataFileKeys::Rows = QStringLiteral("CantAlto");
const QString DataFileKeys::Letters = QStringLiteral("Letras");
const QString DataFileKeys::Words = QStringLiteral("Palabras");
const QString DataFileKeys::Solution = QStringLiteral("Solucion");
