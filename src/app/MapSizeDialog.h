#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

#include "tools/ResizeAnchor.h"

class QRadioButton;
class QSpinBox;

namespace zandrel::app {

class CChildFrame;
class UserPrompts;

// What "Dimensioni mappa..." asks for: the new sides and the anchor.
struct MapSizeChoice {
    std::int32_t sizeX = 0;
    std::int32_t sizeZ = 0;
    tools::ResizeAnchor anchor = tools::ResizeAnchor::NorthEast;
};

// The dialog of "Dimensioni mappa...": SizeX and SizeZ from 1 to 50, and nine buttons laid out
// as a compass with north up and west on the left (where x grows) for the corner or edge whose
// cells stay in place.
class MapSizeDialog : public QDialog {
    Q_OBJECT

public:
    MapSizeDialog(std::int32_t sizeX, std::int32_t sizeZ, QWidget* parent = nullptr);

    MapSizeChoice Choice() const;

    // Asks through prompts and resizes frame's map as one edit whose undo gives the whole map
    // back; false when the user cancelled.
    static bool ResizeActiveMap(CChildFrame& frame, UserPrompts& prompts, QWidget* parent);

private:
    QSpinBox* sizeX_;
    QSpinBox* sizeZ_;
    std::array<QRadioButton*, 9> anchors_{};
};

}  // namespace zandrel::app
