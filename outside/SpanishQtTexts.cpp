#include "outside/SpanishQtTexts.h"

#include <map>

QString SpanishQtTexts::translate(const char* context, const char* source, const char*, int) const {
    // Windows says "File Folder" and "Shortcut", as its file explorer does.
    static const std::map<QByteArray, QString> texts{
        {"Folder", QStringLiteral("Carpeta")},
        {"File Folder", QStringLiteral("Carpeta de archivos")},
        {"Shortcut", QStringLiteral("Acceso directo")},
        {"Drive", QStringLiteral("Unidad")},
        {"Unknown", QStringLiteral("Desconocido")}};
    if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
        return QString();
    const auto found = texts.find(source);
    return found == texts.end() ? QString() : found->second;
}
