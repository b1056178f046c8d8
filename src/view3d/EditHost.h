#pragma once

#include <QPoint>
#include <QSize>
#include <cstdint>
#include <functional>

#include "tools/EditSession.h"

namespace zandrel::document {
class CzandrelEditorDoc;
}

namespace zandrel::view3d {

// What the mouse input and the commands of a 3D view work with: its edit session, its
// document, a picker and its size, and the way an edit reaches the document. The view gives
// them this, so they know nothing else of it.
class EditHost {
public:
    using SessionEdit =
        std::function<tools::EditOutcome(tools::EditSession&, tools::DocumentState&)>;

    virtual ~EditHost() = default;

    virtual const tools::EditSession& Session() const = 0;
    virtual const document::CzandrelEditorDoc& Document() const = 0;
    // Runs edit on the session and the document's state through the document's one entry
    // point, drawing now first when the outcome asks for it.
    virtual void Edit(const SessionEdit& edit) = 0;
    // Cell name under point (logical pixels), or -1.
    virtual std::int32_t Pick(const QPoint& point) = 0;
    // The view's size in logical pixels, which mouse points are measured in.
    virtual QSize LogicalSize() const = 0;
    // The texture list entry a brush stroke paints (the panel's current one), or -1.
    virtual std::int32_t BrushSlot() const = 0;
};

}  // namespace zandrel::view3d
