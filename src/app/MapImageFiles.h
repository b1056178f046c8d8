#pragma once

#include <QString>
#include <optional>

#include "map/MapGrid.h"
#include "tools/Heightmap.h"

class QWidget;

namespace zandrel::app {

class CChildFrame;
class UserPrompts;

// "Esporta immagine..." and "Importa heightmap...": the pictures a map window writes and reads.
// Paths come from the user through prompts, failures go back to the user as Italian messages,
// and nothing is changed or left half written when something fails.
class MapImageFiles {
public:
    // Asks for a PNG path and writes there what the window's 3D view shows, at its size. False
    // when cancelled or failed.
    static bool ExportViewImage(CChildFrame& frame, UserPrompts& prompts, QWidget* parent);

    // Asks for a PNG and sets the map's heights from it as one edit that undo takes back whole.
    // The range the image was spread over; nothing when cancelled or failed, and the map is
    // then as it was.
    static std::optional<tools::HeightRange> ImportHeightmap(CChildFrame& frame,
                                                             UserPrompts& prompts, QWidget* parent);

    // The heights an image's levels span: the range it stores, else the map's own range, else
    // 0..1 (a flat map has no range to spread over).
    static tools::HeightRange ImportRange(const std::optional<tools::HeightRange>& stored,
                                          const map::MapGrid& grid);
    // "Heightmap importata: altezze da -3 a 4,5", for the status bar.
    static QString ImportedText(tools::HeightRange range);
};

}  // namespace zandrel::app
