#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <span>

class QWidget;

namespace zandrel::panel {

class DialogUnits;

// Ids of the panel's controls; the buttons' ids are also their command ids.
namespace control {
inline constexpr int kNone = -1;
inline constexpr int kTextureList = 1001;
inline constexpr int kFrictionSlider = 1006;
inline constexpr int kGravitySlider = 1007;
inline constexpr int kApply = 1010;
inline constexpr int kRefreshTextures = 1020;
inline constexpr int kApplyTile = 1021;
inline constexpr int kApplyWall = 1022;
inline constexpr int kApplyEnemy = 1023;
inline constexpr int kFrictionValue = 1026;
inline constexpr int kGravityValue = 1027;
inline constexpr int kTileName = 1028;
inline constexpr int kWallName = 1029;
}  // namespace control

enum class ControlKind { GroupBox, StaticText, PushButton, Trackbar, ComboBox, ReadOnlyEdit };

// One control of the attribute panel's form: where it sits in dialog units and what it is.
// Every control is a tab stop unless it is a frame or a label.
struct FormControl {
    int id;
    ControlKind kind;
    const char* text;  // UTF-8
    QRect units;       // x, y, width, height in dialog units
    const char* objectName;
    bool autoTicks;  // trackbars: a tick at every position rather than at the ends only
};

// The attribute panel's form: its controls in template order (which is also the tab order and,
// frames aside, the stacking order), its size and its font.
class FormTemplate {
public:
    static std::span<const FormControl> Controls();
    static const FormControl* Find(int id);
    static QSize SizeInUnits() { return QSize(123, 249); }
    // The form's 8-point sans font; the first of these families the system has is used.
    static QFont Font();

    // Creates every control as a child of form, placed in pixels for units, with its object
    // name and its id in the "controlId" property. Frames are sent to the back and let the
    // mouse through, since the controls they surround are their siblings, not their children.
    static void Build(QWidget& form, const DialogUnits& units);
};

}  // namespace zandrel::panel
