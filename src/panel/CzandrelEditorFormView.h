#pragma once

#include <QWidget>

namespace zandrel::app {
class CzandrelEditorDoc;
}

namespace zandrel::panel {

// The attribute panel on the left of a map window. For now an empty form of the panel's width;
// it refreshes from the document whenever another view changes the map.
class CzandrelEditorFormView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 200;

    explicit CzandrelEditorFormView(app::CzandrelEditorDoc* doc, QWidget* parent = nullptr);

    app::CzandrelEditorDoc* GetDocument() const { return doc_; }

    QSize sizeHint() const override { return QSize(kWidth, 400); }

public slots:
    // Another view changed the document: re-read what the panel shows.
    void OnUpdate(QObject* sender);

private:
    app::CzandrelEditorDoc* doc_;
};

}  // namespace zandrel::panel
