#pragma once

#include <QDialog>

// "About Plyforge": the icon, the version and the copyright line.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
