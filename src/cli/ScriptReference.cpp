#include "cli/ScriptReference.h"

#include <string>

namespace zandrel::cli {

namespace {

constexpr ScriptCommandDoc kDocs[] = {
    {"new", "new", "Replace the map being edited with a new 50x50 map with the default textures.",
     "File > Nuovo"},
    {"open", "open PATH",
     "Replace the map being edited with the map file PATH. A file that cannot be loaded stops the "
     "script with the reader's reason.",
     "File > Apri"},
    {"save", "save PATH",
     "Write the map to PATH through a temporary file, so a failed save leaves PATH as it was.",
     "File > Salva con nome"},
    {"select", "select X0 Z0 X1 Z1",
     "Select the block of cells from (X0, Z0) to (X1, Z1), corners included, in any order. "
     "Cells are whole numbers from 0 to 49 on a full map.",
     "left-button drag in the 3D view"},
    {"tool", "tool NAME VALUE",
     "Apply a terrain tool to the selection once with VALUE, as one wheel notch gives 1. NAME is "
     "raise (heights + VALUE), flatten (to the height at the middle + VALUE), level (VALUE x 0.1), "
     "landslide (VALUE x 0.1), tilt (VALUE x 0.01, not on a square block) or pyramid (square "
     "blocks only). VALUE is a decimal number with a point, such as 1, -0.5 or 2e1.",
     "Funzioni > Alzare, Spianare, Livellare, Franare, Inclinare, Piramide, then the mouse wheel"},
    {"copy", "copy", "Copy the selected cells to the clipboard.", "Modifica > Copia"},
    {"cut", "cut",
     "Copy the selected cells to the clipboard, then flatten them to the height of the "
     "selection's first corner.",
     "Modifica > Taglia"},
    {"paste", "paste",
     "Put the clipboard's block, relative to the map's height there, at the selection's first "
     "corner; the selection grows to the pasted block. Fails when nothing was copied.",
     "Modifica > Incolla"},
    {"merge", "merge",
     "Add the clipboard block's relative heights to the cells from the selection's first corner "
     "on. Fails when nothing was copied.",
     "Modifica > Merge"},
    {"undo", "undo",
     "Restore the heights saved before the last change, or the whole map as it was before a "
     "resize. Fails when there is none.",
     "Modifica > Annulla"},
    {"goal", "goal", "Toggle the goal flag of the selected cells.", "Funzioni > Area Goal"},
    {"start", "start X Z", "Place the start on cell (X, Z).", "Funzioni > Start, then a click"},
    {"enemy", "enemy X Z", "Place the next enemy on cell (X, Z); the fifth replaces the first.",
     "Funzioni > Nemici, then a click"},
    {"attributes", "attributes GRAVITY FRICTION",
     "Set gravity (whole number, -160 to 160) and friction (whole number, 2 to 20) of the "
     "selected cells.",
     "panel: Gravita and Artrito sliders, then Applica"},
    {"tile", "tile N", "Give the selected cells the tile texture of entry N of the texture list.",
     "panel: texture list, then Tile"},
    {"wall", "wall N", "Give the selected cells the wall texture of entry N of the texture list.",
     "panel: texture list, then Wall"},
    {"enemy-texture", "enemy-texture N", "Give the enemies the texture of entry N of the list.",
     "panel: texture list, then Enemy"},
    {"refresh-textures", "refresh-textures",
     "Rebuild the map's texture list from the .jpg files in the working directory.",
     "panel: Aggiorna Archivio Texture"},
    {"history", "history",
     "Print the history of this map's edits, oldest first, one per line: its number, the "
     "editor's name for the command, the cells it changed (X0,Z0-X1,Z1, or - for none) and the "
     "time, separated by tabs. Runs of tool commands on one selection are one entry. New and "
     "open start a new history.",
     "Vista > Cronologia"},
    {"revert", "revert N",
     "Return the map to its state just after history entry N, as one new edit that is itself "
     "an entry; undo then restores the heights from before it, as after a paste. Fails for an "
     "entry the history does not keep.",
     "Vista > Cronologia, then a double-click on an entry"},
    {"rotate", "rotate",
     "Turn the clipboard's block a quarter turn: W by D cells become D by W, and a slope rising "
     "along +x rises along +z. Fails when nothing was copied.",
     "Modifica > Ruota appunti (Ctrl+R)"},
    {"flip", "flip x|z",
     "Mirror the clipboard's block in x (west to east) or in z (north to south). Fails when "
     "nothing was copied.",
     "Modifica > Rifletti appunti in X, Rifletti appunti in Z"},
    {"resize", "resize SX SZ [ANCHOR]",
     "Make the map SX by SZ cells (1 to 50 each). ANCHOR is the corner or edge whose cells stay in "
     "place, in the map's compass where x grows to the west and z to the south: ne (cell 0 0, the "
     "default), n, no, e, c, o, se, s or so. Cells that stay keep every value, new cells get a new "
     "map's values, and a start or enemy whose cell goes is unset. Undo gives the whole map back.",
     "Funzioni > Dimensioni mappa..."},
    {"paint", "paint tile|wall SLOT X Z [X Z ...]",
     "Give cell (X, Z) the tile or wall texture of entry SLOT of the texture list, and every cell "
     "on the straight line from it to each next cell, as one brush stroke.",
     "Funzioni > Pennello tile or Pennello wall, then a left-button drag in the 3D view"},
};

constexpr std::string_view kExample =
    "# raise a 5x5 hill, make its top a goal, then save\n"
    "open level.zdm\n"
    "select 10 10 14 14\n"
    "tool raise 2\n"
    "select 12 12 12 12\n"
    "goal\n"
    "start 0 0\n"
    "enemy 20 20\n"
    "tile 1\n"
    "save hill.zdm\n";

constexpr std::string_view kSyntax =
    "A script is a text file with one command per line; words are separated by blanks. Empty "
    "lines and lines whose first word starts with '#' are skipped. The script starts on a new "
    "50x50 map and runs its commands in order, as the editor would run them on one map window. "
    "It stops at the first command that cannot run, names its line and the reason, and exits "
    "with status 1; files saved before that line stay written.";

// roff reads a line starting with '.' or '\'' as a request and '\' as an escape.
std::string RoffText(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '\\') {
            escaped += "\\e";
        } else if (c == '-') {
            escaped += "\\-";
        } else {
            escaped += c;
        }
    }
    if (!escaped.empty() && (escaped.front() == '.' || escaped.front() == '\'')) {
        escaped.insert(0, "\\&");
    }
    return escaped;
}

// Breaks text into lines of at most `width` characters after `indent` spaces.
void WriteWrapped(std::ostream& out, std::string_view text, std::size_t indent, std::size_t width) {
    std::size_t column = 0;
    while (!text.empty()) {
        const std::size_t end = text.find(' ');
        const std::string_view word = text.substr(0, end);
        if (column > 0 && column + 1 + word.size() > width) {
            out << '\n';
            column = 0;
        }
        if (column == 0) {
            out << std::string(indent, ' ');
            column = indent;
        } else {
            out << ' ';
            ++column;
        }
        out << word;
        column += word.size();
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    out << '\n';
}

}  // namespace

std::span<const ScriptCommandDoc> ScriptCommandDocs() {
    return kDocs;
}

std::string_view ScriptExample() {
    return kExample;
}

void WriteScriptHelp(std::ostream& out) {
    WriteWrapped(out, kSyntax, 0, 79);
    out << "\nCommands:\n";
    for (const ScriptCommandDoc& doc : kDocs) {
        out << "  " << doc.usage << '\n';
        WriteWrapped(out, doc.effect, 6, 79);
        WriteWrapped(out, std::string("Editor: ") + std::string(doc.editorAction), 6, 79);
    }
    out << "\nExample:\n";
    std::string_view example = kExample;
    while (!example.empty()) {
        const std::size_t end = example.find('\n');
        out << "  " << example.substr(0, end) << '\n';
        example = example.substr(end + 1);
    }
}

void WriteScriptManSection(std::ostream& out) {
    out << ".SH SCRIPT LANGUAGE\n" << RoffText(kSyntax) << '\n';
    out << ".SS Commands\n";
    for (const ScriptCommandDoc& doc : kDocs) {
        out << ".TP\n.B " << RoffText(doc.usage) << '\n'
            << RoffText(doc.effect) << "\n.br\nEditor: " << RoffText(doc.editorAction) << '\n';
    }
    out << ".SS Example\n.PP\n.nf\n.RS\n";
    std::string_view example = kExample;
    while (!example.empty()) {
        const std::size_t end = example.find('\n');
        out << RoffText(example.substr(0, end)) << '\n';
        example = example.substr(end + 1);
    }
    out << ".RE\n.fi\n";
}

}  // namespace zandrel::cli
