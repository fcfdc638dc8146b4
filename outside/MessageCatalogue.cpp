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
    {11200, "Tablero del juego %1, %2", "Board of puzzle %1, %2"},
    {11201, "%2 columnas por %3 filas, %1 letras marcadas",
     "%2 columns by %3 rows, %1 letters marked"},
    {11202, "Solución del juego %1, %2", "Solution of puzzle %1, %2"},
    {11203, "marcada", "marked"},
    {11204, "sin marcar", "not marked"},
    {11205, "%1, fila %2, columna %3", "%1, row %2, column %3"},
    {11206, "Lista de palabras", "Word list"},
    {11207, "%1 de %3 palabras tachadas", "%1 of %3 words crossed out"},
    {11208, "tachada", "crossed out"},
    {11209, "sin tachar", "not crossed out"},
    {11210, "Lista de juegos", "List of puzzles"},
    {11211, "%3 juegos", "%3 puzzles"},
    {11212, "%1, palabra %2", "%1, word %2"},
    {11213,
     "Ningún juego elegido. Para elegir uno, abra el menú %1 con Alt+%3 y elija %2 con la %4.",
     "No puzzle chosen. To choose one, open the %1 menu with Alt+%3 and pick %2 with %4."},
    {11214, "letra de la solución", "letter of the solution"},
    {11215, "vacía", "empty"},

    {11220, "%1, %2, rojo %3, verde %4, azul %5", "%1, %2, red %3, green %4, blue %5"},
    {11221, "%1, %2, %3 puntos", "%1, %2, %3 points"},
    {11222, "negrita", "bold"},
    {11223, "cursiva", "italic"},
    {11224, "color %1, rojo %2, verde %3, azul %4", "colour %1, red %2, green %3, blue %4"},
    {11225, "%1, %2", "%1, %2"},
    // Colour names a screen reader gives a swatch: the nearest of these.
    {11230, "negro", "black"},
    {11231, "blanco", "white"},
    {11232, "gris", "grey"},
    {11233, "gris claro", "light grey"},
    {11234, "gris oscuro", "dark grey"},
    {11235, "rojo", "red"},
    {11236, "granate", "maroon"},
    {11237, "naranja", "orange"},
    {11238, "amarillo", "yellow"},
    {11239, "crema", "cream"},
    {11240, "verde", "green"},
    {11241, "verde claro", "light green"},
    {11242, "verde oscuro", "dark green"},
    {11243, "azul", "blue"},
    {11244, "azul claro", "light blue"},
    {11245, "azul marino", "navy blue"},
    {11246, "turquesa", "turquoise"},
    {11247, "morado", "purple"},
    {11248, "rosa", "pink"},
    {11249, "marrón", "brown"},

    {11300, "Juego %1, %2: %3", "Puzzle %1, %2: %3"},
    {11301, "Línea %1: %2", "Line %1: %2"},
    {11302, "No se puede leer el archivo %1: %2", "Cannot read the file %1: %2"},
    {11303, "%1: ningún fallo (juegos: %2).", "%1: no faults (puzzles: %2)."},
    {11304, "%1: fallos: %2.", "%1: faults: %2."},
    {11310, "falta la sección; la lista de juegos se detiene aquí y no muestra estos juegos: %1",
     "the section is missing; the list of puzzles stops here and does not show these puzzles: %1"},
    {11311, "está vacío; la lista de juegos se detiene aquí y no muestra estos juegos: %1",
     "is empty; the list of puzzles stops here and does not show these puzzles: %1"},
    {11312, "la sección no se lee nunca: los juegos se numeran 1, 2, 3… sin ceros delante",
     "the section is never read: puzzles are numbered 1, 2, 3… without leading zeros"},
    {11313, "la sección aparece de nuevo en la línea %1; esa copia no se lee",
     "the section appears again on line %1; that copy is never read"},
    {11314, "aparece de nuevo en la línea %1; solo se lee el primer valor",
     "appears again on line %1; only the first value is read"},
    {11315, "no hay ninguna sección [1]: la lista de juegos estará vacía",
     "there is no section [1]: the list of puzzles will be empty"},
    {11320, "%1 no es un número entero", "%1 is not a whole number"},
    {11321, "el tablero no admite %1 × %2 casillas: un juego tiene de 1 a 999 casillas",
     "the board refuses %1 × %2 cells: a puzzle has from 1 to 999 cells"},
    {11322, "tiene %1 letras para %2 × %3 = %4 casillas", "has %1 letters for %2 × %3 = %4 cells"},
    {11323, "la casilla %1 tiene %2, que no es una letra",
     "cell %1 holds %2, which is not a letter"},
    {11324,
     "%1 (casilla %2) ocupa más de una unidad UTF-16 aun compuesto: el tablero lo partiría en "
     "dos casillas",
     "%1 (cell %2) takes more than one UTF-16 unit even when composed: the board would split it "
     "over two cells"},
    {11325, "falta o está vacío", "is missing or empty"},
    {11330, "está vacío: no hay palabras que buscar", "is empty: there are no words to find"},
    {11331, "tiene un espacio de más en la posición %1: la lista mostraría una fila vacía",
     "has an extra blank at character %1: the list would show an empty row"},
    {11332,
     "tiene %1 palabras; el juego no abre un juego de más de 99, porque guarda las tachadas "
     "con dos cifras",
     "has %1 words; the game does not open a puzzle of more than 99, as it saves crossed-out "
     "words with two digits"},
    {11333, "%1 no se encuentra en línea recta en la cuadrícula",
     "%1 cannot be found along a straight line in the grid"},
    {11334, "%1 se puede leer en %2 sitios (casillas %3)",
     "%1 can be read in %2 places (cells %3)"},
    {11335, "%1 está dos veces en la lista", "%1 is listed twice"},
    {11340, "tiene %1 caracteres, que no es múltiplo de 3",
     "has %1 characters, not a multiple of 3"},
    {11341, "%1 (posición %2) no es una casilla entre 001 y %3",
     "%1 (at character %2) is not a cell from 001 to %3"},
    {11342, "marca casillas que no son de ninguna palabra: %1",
     "marks cells that belong to no word: %1"},
    {11343, "no marca estas casillas de las palabras: %1",
     "leaves out these cells of the words: %1"},
    {11344, "no son exactamente las casillas de las palabras",
     "is not exactly the cells of the words"},
    {11350,
     "la línea %1 no es UTF-8 válido, aunque el resto del archivo sí lo es: está dañada o "
     "escrita con otra codificación",
     "line %1 is not valid UTF-8 although the rest of the file is: it is damaged or written in "
     "another encoding"},
    {11351, "%1 parece texto UTF-8 leído con otra codificación y guardado de nuevo",
     "%1 looks like UTF-8 text read in another encoding and saved again"},
    {11352, "contiene el carácter de sustitución U+FFFD: una conversión anterior perdió letras",
     "holds the replacement character U+FFFD: an earlier conversion lost letters"},
    {11353,
     "la línea %1 tiene bytes NUL: el archivo está dañado, como lo deja un corte mientras se "
     "escribía; el juego los lee como U+FFFD y no lee los del final",
     "line %1 holds NUL bytes: the file is damaged, as a crash while it was written leaves it; "
     "the game reads them as U+FFFD and skips those at the end"},
    {11360, "El archivo %1 no tiene el juego %2.", "The file %1 has no puzzle %2."},
    {11361, "No se puede escribir %1: %2", "Cannot write %1: %2"},
    {11362, "El juego %1 no se puede imprimir: %2", "Puzzle %1 cannot be printed: %2"},
    {11363, "Juego %1", "Puzzle %1"},
    // The settings store; %1, %2, %3 are filled in by the store.
    {11400,
     "El archivo de configuración \"%1\" tenía líneas dañadas, que no se pudieron leer. "
     "Se ha guardado tal como estaba en \"%2\" y se ha escrito de nuevo con todos los valores "
     "que se pudieron leer. El avance se sigue guardando.",
     "The settings file \"%1\" had damaged lines that could not be read. It has been kept as it "
     "was in \"%2\" and written again with every value that could be read. Progress is saved "
     "as before."},
    {11401, "No se pudo guardar el valor \"%1\" en \"%2\": %3.",
     "The setting \"%1\" could not be saved in \"%2\": %3."},
    {11402, "\"%1\" es una carpeta", "\"%1\" is a folder"},
    {11403, "\"%1\" es un archivo y no se puede crear la carpeta",
     "\"%1\" is a file, so the folder cannot be made"},
    {11404, "el sistema no permitió escribirlo", "the system refused the write"},
    {11405, "Solo se puede acceder a los valores del usuario actual (raíz %1).",
     "Only the current user's settings can be reached (root %1)."},
    {11406, "\"%1\" no es un nombre de valor válido.", "\"%1\" is not a usable value name."},
    {11407, "La clave \"%1\" no tiene la forma Software\\<fabricante>\\<producto>\\...",
     "The key \"%1\" is not of the form Software\\<maker>\\<product>\\..."},
    {11408, "Los valores se guardan como texto (tipo 1), no como tipo %1.",
     "Values are stored as text (kind 1), not kind %1."},
    {11409, "Un valor de tipo %1 no se puede guardar como texto.",
     "A value of type %1 cannot be stored as text."},
    {11410, "otra copia del programa lo mantiene bloqueado",
     "another copy of the program keeps it locked"},
    {11411,
     "Otra copia del programa tiene bloqueado el archivo de configuración \"%1\" y no lo "
     "suelta. Su avance no se pierde: se guardará en cuanto el archivo quede libre, o la próxima "
     "vez que se abra el programa.",
     "Another copy of the program keeps the settings file \"%1\" locked and does not let go "
     "of it. Your progress is not lost: it will be saved as soon as the file is free, or the "
     "next time the program starts."},
    {11412,
     "No se puede leer el archivo de configuración \"%1\": %2. No se muestran el avance "
     "guardado ni la configuración, y el archivo no se modificará mientras no se pueda leer.",
     "The settings file \"%1\" cannot be read: %2. Your saved progress and settings are not "
     "shown, and the file will not be changed while it cannot be read."},
    {11413, "no se puede leer (%1), y se deja como está",
     "it cannot be read (%1), so it is left as it is"},
    {11414, "el disco está lleno", "the disk is full"},
    {11415, "no tiene permiso para crear la carpeta \"%1\"",
     "you are not allowed to create the folder \"%1\""},
    {11416, "\"%1\" lo dejó una copia del programa que ya no está en marcha, y no se puede borrar",
     "\"%1\" was left by a copy of the program that is no longer running, and cannot be removed"},
    {11419,
     "El valor \"%1\" de la clave del registro \"%2\" no es texto (es de tipo %3) y no se "
     "puede leer. Se usa el valor predeterminado, que lo reemplazará la próxima vez que se guarde.",
     "The value \"%1\" of the registry key \"%2\" is not text (it is of type %3) and cannot "
     "be read. The default is used, and replaces it the next time it is saved."},

    {11500, "No se puede leer el archivo de juegos \"%1\": %2.",
     "The puzzle file \"%1\" cannot be read: %2."},
    {11501, "no existe", "it does not exist"},
    {11502, "es una carpeta, no un archivo", "it is a folder, not a file"},
    {11503, "no tiene permiso para leerlo", "you are not allowed to read it"},
    {11504, "no es un archivo de texto", "it is not a text file"},
    {11510, "Puede seguir jugando y cambiar de juego, pero su avance no se guardará.",
     "You can keep playing and switching puzzles, but your progress will not be kept."},
    {11520,
     "El valor guardado \"%1\" (\"%2\") no es un color válido: se usa el color "
     "predeterminado. Puede corregirlo en Opciones, Configuración.",
     "The stored value \"%1\" (\"%2\") is not a valid colour: the default colour is used. "
     "You can put it right in Options, Settings."},
    {11521,
     "El tamaño de letra guardado (\"%1\") pasa de %2 puntos: se usa el tamaño "
     "predeterminado. Puede corregirlo en Opciones, Configuración.",
     "The stored font size (\"%1\") is past %2 points: the default size is used. You can put "
     "it right in Options, Settings."},
    {11530, "El juego %1 de \"%2\" tiene una letra que no cabe en una casilla: \"%3\" (letra %4).",
     "Puzzle %1 of \"%2\" has a letter that does not fit in one cell: \"%3\" (letter %4)."},
    {11540,
     "Las marcas guardadas del juego %1 están dañadas (\"%2\"): se muestran las que se "
     "pudieron leer, y el valor dañado queda guardado aparte.",
     "The saved marks of puzzle %1 are damaged (\"%2\"): the ones that could be read are "
     "shown, and the damaged value is kept aside."},
    {11541,
     "Las marcas guardadas del juego %1 incluyen casillas que este juego no tiene (tiene %2): "
     "se hicieron en otro juego que llevaba este número. Se muestran las que caben, y el valor "
     "guardado queda aparte.",
     "The saved marks of puzzle %1 include cells this puzzle does not have (it has %2): they "
     "were made on another puzzle that had this number. The ones that fit are shown, and the "
     "saved value is kept aside."},
    {11542,
     "El archivo de juegos ha cambiado mientras la lista estaba abierta: el juego %1 ya no es "
     "\"%2\", sino \"%3\". Elija de nuevo en la lista actual.",
     "The puzzle file changed while the list was open: puzzle %1 is no longer \"%2\" but "
     "\"%3\". Choose again from the list as it is now."},
    {11543,
     "El archivo de juegos ha cambiado mientras la lista estaba abierta: ya no tiene el juego "
     "%1, \"%2\". Elija de nuevo en la lista actual.",
     "The puzzle file changed while the list was open: it no longer holds puzzle %1, \"%2\". "
     "Choose again from the list as it is now."},
    {11544,
     "Las palabras tachadas guardadas del juego %1 están dañadas (\"%2\"): se tachan las que "
     "se pudieron leer, y el valor dañado queda guardado aparte.",
     "The saved crossed-out words of puzzle %1 are damaged (\"%2\"): the ones that could be "
     "read are crossed out, and the damaged value is kept aside."},
    {11545,
     "Las palabras tachadas guardadas del juego %1 incluyen filas que esta lista no tiene: se "
     "tacharon en otro juego que llevaba este número. Se tachan las que caben, y el valor "
     "guardado queda aparte.",
     "The saved crossed-out words of puzzle %1 include rows this list does not have: they were "
     "crossed out on another puzzle that had this number. The ones that fit are crossed out, "
     "and the saved value is kept aside."},

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
    {11616,
     "El juego %1 de %2 tiene %3 palabras; un juego tiene como mucho %4, porque las palabras "
     "tachadas se guardan con dos cifras.",
     "Puzzle %1 of %2 has %3 words; a puzzle has at most %4, because crossed-out words are "
     "saved with two digits."},

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
