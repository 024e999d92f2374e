#pragma once

#include <QTextBrowser>

class CChildFrame;

// "Theory View": the page that explains how Plyforge computes, html/Theory.html
// in the program's data folder (beside a built executable, share/plyforge when
// installed).
class CPrincipleView : public QTextBrowser {
    Q_OBJECT

public:
    explicit CPrincipleView(CChildFrame* frame, QWidget* parent = nullptr);

    static QString PagePath(const QString& data_folder);
};
