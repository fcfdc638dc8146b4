#include "outside/MessageCatalogue.h"

#include <algorithm>
#include <iterator>

namespace {

struct Entry {
    int number;
    const char* spanish;
    const char* english;
};

// Kept sorted by number. "\\n" is the catalogue's line break: the help and
// about windows turn it into a real one. Menu captions carry '&' before the
// access letter; letters are unique within each menu. Row captions of the
// settings dialog stay short: their labels are 54 pixels wide.
constexpr Entry kEntries[] = {
    {10000, "Aceptar", "OK"},
    {10001, "Cancelar", "Cancel"},
    {10002, "Cerrar", "Close"},
    {10003, "Aplicar", "Apply"},
    {10004, "Restablecer", "Defaults"},

    {10200, "Palabras", "Words"},

    {10400, "Juego", "Puzzle"},
    {10401, "Todavía no hay ningún juego cargado. Elija uno primero en el menú Opciones.",
     "No puzzle is loaded yet. Choose one first from the Options menu."},
    {10402, "¿Desea salir de", "Do you want to quit"},
    {10403, "?", "?"},
    {10404, "&Opciones", "&Options"},
    {10405, "Seleccionar &juego...", "&Choose puzzle..."},
    {10406, "&Configuración...", "&Settings..."},
    {10407, "&Salir", "E&xit"},
    {10408, "&Ayuda", "&Help"},
    {10409, "&Cómo usar", "&How to use"},
    {10410, "Ver &solución", "Show &solution"},
    {10411, "&Acerca de", "&About"},

    {10500, "Solución del juego", "Solution of puzzle"},

    {10600, "Seleccionar juego", "Choose a puzzle"},
    {10601, "No ha seleccionado ningún juego. Elija uno de la lista.",
     "No puzzle is selected. Choose one from the list."},
    {10602, "Juegos:", "Puzzles:"},

    {10700, "Configuración", "Settings"},
    {10701, "Aspecto del tablero", "Board appearance"},
    {10702, "Fondo:", "Board:"},
    {10703, "Marcas:", "Marked:"},
    {10704, "Activa:", "Current:"},
    {10705, "Líneas:", "Lines:"},
    {10706, "Letras:", "Letters:"},
    {10707, "Imagen:", "Picture:"},
    {10708, "Elegir el color", "Choose the colour"},
    {10709, "Elegir la fuente y el color de las letras",
     "Choose the font and colour of the letters"},
    {10710, "Elegir una imagen de fondo", "Choose a background picture"},

    {10800, "Cómo usar", "How to use"},

    {10900, "Acerca de", "About"},
    {10901, "Juego", "Puzzle"},
    {10902, "Versión", "Version"},
    {10903, "Correo:", "E-mail:"},
    {10904, "Web:", "Web:"},

    {11000, "Bienvenido a Zelvora -", "Welcome to Zelvora -"},
    {11001, "Cómo jugar", "How to play"},
    {11002, "Consejo: marque las letras de cada palabra y táchela de la lista al encontrarla.",
     "Tip: mark the letters of each word and cross it out in the list once you find it."},
    {11003,
     "Elija un juego con Opciones, Seleccionar juego. El tablero muestra la sopa de letras y, "
     "a su lado, la lista de palabras escondidas.\\n\\n"
     "Para marcar una letra, haga clic en ella o pulse Espacio o Intro sobre la letra actual; "
     "repita para desmarcarla. Las flechas del teclado mueven la letra actual.\\n\\n"
     "Cuando encuentre una palabra, haga clic en ella en la lista, o pulse Espacio o Intro "
     "sobre ella, para tacharla; repita para quitar la tachadura.\\n\\n"
     "El avance de cada juego se guarda al cambiar de juego y al salir, y se recupera al "
     "volver a abrirlo.\\n\\n"
     "Ayuda, Ver solución muestra la solución del juego. Opciones, Configuración cambia los "
     "colores, la fuente de las letras y la imagen de fondo del tablero.\\n\\n",
     "Choose a puzzle with Options, Choose puzzle. The board shows the letter grid with the "
     "list of hidden words beside it.\\n\\n"
     "To mark a letter, click it or press Space or Enter on the current letter; do it again "
     "to unmark it. The arrow keys move the current letter.\\n\\n"
     "When you find a word, click it in the list, or press Space or Enter on it, to cross it "
     "out; do it again to restore it.\\n\\n"
     "The progress of every puzzle is kept when you change puzzles and when you quit, and it "
     "comes back when you open the puzzle again.\\n\\n"
     "Help, Show solution shows the solved puzzle. Options, Settings changes the colours, the "
     "font of the letters and the background picture of the board.\\n\\n"},
    {11004, "Escriba sus comentarios y sugerencias a", "Send your comments and suggestions to"},

    {11101,
     "Este programa se ofrece tal cual, sin garantías de ningún tipo.\\n"
     "Gracias por jugar.",
     "This program is provided as is, without warranty of any kind.\\n"
     "Thank you for playing."},
    {11102,
     "El avance de cada juego y la configuración se guardan por usuario: cada persona que use "
     "este equipo conserva los suyos.",
     "The progress of every puzzle and the settings are kept per user: everyone who uses this "
     "computer keeps their own."},

    // Error descriptions; %n are filled in by the code that raises them.
    {11600, "Tipos no coincidentes: \"%1\" no es un número",
     "Type mismatch: \"%1\" is not a number"},
    {11601, "Desbordamiento", "Overflow"},
    {11602, "El sistema no pudo abrir %1", "The system could not open %1"},
    {11603, "El subíndice está fuera del intervalo (columna %1, fila %2)",
     "Subscript out of range (column %1, row %2)"},
    {11604, "Argumento no válido: %1", "Invalid argument: %1"},
    {11605, "Desbordamiento: %1 × %2 celdas", "Overflow: %1 × %2 cells"},
    {11606, "Número de producto desconocido: %1.", "Unknown product number %1."},
    {11607, "Ninguna ventana tiene el identificador %1", "No window has the handle %1"},
    {11608, "Color del sistema desconocido: %1", "Unknown system colour %1"},
    {11609, "Al programa le falta el mapa de bits %1", "The program has no bitmap resource %1"},
    {11610, "Al programa le falta el icono %1", "The program has no icon resource %1"},
    {11611, "Al programa le falta el puntero %1", "The program has no cursor resource %1"},
    {11612, "El diálogo no tiene un tablero al que aplicar la configuración.",
     "The dialog has no board to apply its settings to."},
    {11613, "El selector no tiene la lista de juegos.", "The chooser has no list of puzzles."},
    {11614, "Juego %1 de %2: %3 \"%4\" no es un número entero.",
     "Puzzle %1 of %2: %3 \"%4\" is not a whole number."},
    {11615, "El juego %1 de %2 tiene %3 × %4 celdas; un juego tiene de 1 a %5 celdas.",
     "Puzzle %1 of %2 is %3 × %4 cells; a puzzle has from 1 to %5 cells."},

    // The settings store's errors and the reasons it gives.
    {11620, "No se pudo guardar el valor \"%1\" en \"%2\": %3.",
     "The setting \"%1\" could not be saved in \"%2\": %3."},
    {11621, "el archivo no es un archivo de valores legible",
     "the file is not a readable settings file"},
    {11622, "\"%1\" es una carpeta", "\"%1\" is a folder"},
    {11623, "\"%1\" es un archivo y no se puede crear la carpeta",
     "\"%1\" is a file, so the folder cannot be made"},
    {11624, "el sistema no permitió escribirlo", "the system refused the write"},
    {11625, "el registro no permitió escribirlo", "the registry refused the write"},
    {11626, "Solo se puede llegar a los valores del usuario actual (raíz %1).",
     "Only the current user's settings can be reached (root %1)."},
    {11627, "\"%1\" no es un nombre de valor válido.", "\"%1\" is not a usable value name."},
    {11628, "La clave \"%1\" no tiene la forma Software\\<fabricante>\\<producto>\\...",
     "The key \"%1\" is not of the form Software\\<maker>\\<product>\\..."},
    {11629, "Los valores se guardan como texto (tipo 1), no de tipo %1.",
     "Values are stored as text (kind 1), not kind %1."},
    {11630, "Un valor de tipo %1 no se puede guardar como texto.",
     "A value of type %1 cannot be stored as text."},

    // Product facts that are words.
    {11640, "Sopa de letras", "Word search"},
    {11641, "Copyright © 2026 Pinarejo. Todos los derechos reservados.",
     "Copyright © 2026 Pinarejo. All rights reserved."},

    // The font picker.
    {11650, "Fuente", "Font"},
    {11651, "&Fuente:", "&Font:"},
    {11652, "Estilo:", "Style:"},
    {11653, "&Negrita", "&Bold"},
    {11654, "C&ursiva", "&Italic"},
    {11655, "&Tamaño:", "&Size:"},
    {11656, "&Color...", "&Colour..."},
    {11657, "Muestra", "Sample"},
    {11658, "AaBbÑñ", "AaBbYyZz"},
};

static_assert(std::is_sorted(std::begin(kEntries), std::end(kEntries),
                             [](const Entry& a, const Entry& b) { return a.number < b.number; }),
              "catalogue entries must stay sorted by number");

std::optional<MessageCatalogue::Language> pinnedLanguage;

} // namespace

MessageCatalogue::Language MessageCatalogue::LanguageFor(const QLocale& locale) {
    return locale.language() == QLocale::English ? Language::English : Language::Spanish;
}

MessageCatalogue::Language MessageCatalogue::CurrentLanguage() {
    return pinnedLanguage.value_or(LanguageFor(QLocale()));
}

void MessageCatalogue::PinLanguage(std::optional<Language> language) {
    pinnedLanguage = language;
}

QString MessageCatalogue::Text(int number, Language language) {
    const auto entry = std::lower_bound(
        std::begin(kEntries), std::end(kEntries), number,
        [](const Entry& candidate, int wanted) { return candidate.number < wanted; });
    if (entry == std::end(kEntries) || entry->number != number)
        return QString();
    return QString::fromUtf8(language == Language::English ? entry->english : entry->spanish);
}

std::vector<int> MessageCatalogue::Numbers() {
    std::vector<int> numbers;
    numbers.reserve(std::size(kEntries));
    for (const Entry& entry : kEntries)
        numbers.push_back(entry.number);
    return numbers;
}
