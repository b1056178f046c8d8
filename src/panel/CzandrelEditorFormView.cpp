#include "panel/CzandrelEditorFormView.h"

#include "app/CzandrelEditorDoc.h"

namespace zandrel::panel {

CzandrelEditorFormView::CzandrelEditorFormView(app::CzandrelEditorDoc* doc, QWidget* parent)
    : QWidget(parent), doc_(doc) {
    setObjectName(QStringLiteral("formView"));
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    if (doc_ != nullptr) {
        connect(doc_, &app::CzandrelEditorDoc::viewsNeedUpdate, this,
                &CzandrelEditorFormView::OnUpdate);
    }
}

void CzandrelEditorFormView::OnUpdate(QObject* sender) {
    if (sender == this) {
        return;
    }
    update();
}

}  // namespace zandrel::panel
