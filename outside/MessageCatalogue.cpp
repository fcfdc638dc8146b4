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

    // What a screen reader hears: the grids and their cells, and the
    // settings dialog's swatches. %1, %2, %3 are filled by the program.
    {11200, "Tablero del juego %1: %2", "Board of puzzle %1: %2"},
    {11201, "%2 columnas por %3 filas; letras marcadas: %1",
     "%2 columns by %3 rows; marked letters: %1"},
    {11202, "Solución del juego %1: %2", "Solution of puzzle %1: %2"},
    {11203, "marcada", "marked"},
    {11204, "sin marcar", "not marked"},
    {11205, "%1; fila %2, columna %3", "%1; row %2, column %3"},
    {11206, "Lista de palabras", "Word list"},
    {11207, "%1 de %3 palabras tachadas", "%1 of %3 words crossed out"},
    {11208, "tachada", "crossed out"},
    {11209, "sin tachar", "not crossed out"},
    {11210, "Lista de juegos", "List of puzzles"},
    {11211, "Juegos: %3", "Puzzles: %3"},
    {11212, "%1; palabra %2", "%1; word %2"},

    {11220, "%1 rojo %2, verde %3, azul %4", "%1 red %2, green %3, blue %4"},
    {11221, "%1 %2, %3 puntos", "%1 %2, %3 points"},
    {11222, "negrita", "bold"},
    {11223, "cursiva", "italic"},
    {11224, "color rojo %1, verde %2, azul %3", "colour red %1, green %2, blue %3"},
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
