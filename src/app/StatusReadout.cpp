#include "app/StatusReadout.h"

#include <QStringList>
#include <algorithm>

#include "tools/SelectionFigures.h"
#include "tools/ToolMode.h"

namespace zandrel::app {

namespace {

// Fixed decimals with a point whatever the locale: the panel's fields show the same.
QString Number(double value) {
    return QString::number(value, 'f', 2);
}

QString TextureOf(const map::MapGrid& grid, std::int32_t slot) {
    // A slot outside the table is drawn without a texture, as is an empty slot.
    const std::string_view name = slot >= 0 && slot < map::kMaxTextureSlots
                                      ? grid.textures[static_cast<std::size_t>(slot)].View()
                                      : std::string_view();
    return name.empty() ? QStringLiteral("-")
                        : QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

QString StatusReadout::CellText(const map::MapGrid& grid, std::int32_t cell) {
    const std::int32_t x = cell % 100;
    const std::int32_t z = cell / 100;
    if (cell < 0 || x >= grid.SizeX || z >= grid.SizeZ || x >= map::kMaxMapSize ||
        z >= map::kMaxMapSize) {
        return QStringLiteral("Fuori dalla mappa");
    }
    const map::MapCell& c = grid.cells[static_cast<std::size_t>(x)][static_cast<std::size_t>(z)];
    return QStringLiteral("x %1 z %2  NO %3 NE %4 SO %5 SE %6 C %7  Tile %8 Wall %9")
               .arg(x)
               .arg(z)
               .arg(Number(c.NO), Number(c.NE), Number(c.SO), Number(c.SE), Number(c.C),
                    TextureOf(grid, c.typet), TextureOf(grid, c.typew)) +
           QStringLiteral("  Attrito %1 Gravità %2 Goal %3")
               .arg(Number(c.artr), Number(c.grav),
                    c.goal != 0 ? QStringLiteral("sì") : QStringLiteral("no"));
}

QString StatusReadout::SelectionText(const map::CellRect& selection) {
    const std::int32_t x0 = std::min(selection.x0, selection.x1);
    const std::int32_t x1 = std::max(selection.x0, selection.x1);
    const std::int32_t z0 = std::min(selection.z0, selection.z1);
    const std::int32_t z1 = std::max(selection.z0, selection.z1);
    return QStringLiteral("Selezione (%1,%2)-(%3,%4) %5×%6")
        .arg(x0)
        .arg(z0)
        .arg(x1)
        .arg(z1)
        .arg(x1 - x0 + 1)
        .arg(z1 - z0 + 1);
}

QString StatusReadout::FiguresText(const map::MapGrid& grid, const map::CellRect& selection) {
    const tools::SelectionFigures figures = tools::FiguresOf(grid, selection);
    if (!figures.any) {
        return QStringLiteral("Altezze -");
    }
    return QStringLiteral("Altezze min %1 max %2 media %3 pendenza %4°")
        .arg(Number(figures.lowest), Number(figures.highest), Number(figures.mean),
             QString::number(figures.steepestDegrees, 'f', 1));
}

QString StatusReadout::ToolName(std::int32_t toolMode) {
    switch (toolMode) {
        case tools::TOOL_LEVEL:
            return QStringLiteral("Livellare");
        case tools::TOOL_LANDSLIDE:
            return QStringLiteral("Franare");
        case tools::TOOL_TILT:
            return QStringLiteral("Inclinare");
        case tools::TOOL_FLATTEN:
            return QStringLiteral("Spianare");
        case tools::TOOL_PLACE_START:
            return QStringLiteral("Start");
        case tools::TOOL_PYRAMID:
            return QStringLiteral("Piramide");
        case tools::TOOL_RAISE:
            return QStringLiteral("Alzare");
        case tools::TOOL_SET_HEIGHT:
            return QStringLiteral("Imposta altezza");
        case tools::TOOL_PLACE_ENEMY:
            return QStringLiteral("Nemici");
        default:
            return QStringLiteral("nessuno");
    }
}

QString StatusReadout::Text(const map::MapGrid& grid, std::int32_t cell,
                            const map::CellRect& selection, std::int32_t toolMode,
                            tools::BrushKind brush) {
    const QString tool = brush == tools::BrushKind::Tile   ? QStringLiteral("Pennello tile")
                         : brush == tools::BrushKind::Wall ? QStringLiteral("Pennello wall")
                                                           : ToolName(toolMode);
    return QStringList{
        CellText(grid, cell),
        SelectionText(selection) + QStringLiteral("  ") + FiguresText(grid, selection),
        QStringLiteral("Strumento %1").arg(tool)}
        .join(QStringLiteral(" | "));
}

}  // namespace zandrel::app
