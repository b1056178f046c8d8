#pragma once

#include <QDialog>

namespace zandrel::app {

// The about box: icon, program name and version, a second line, and OK (Escape also closes).
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace zandrel::app
