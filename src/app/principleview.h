#pragma once

#include <QTextBrowser>

class CChildFrame;

// "Theory View": the page that explains how Plyforge computes, html/Theory.html
// in the program folder.
class CPrincipleView : public QTextBrowser {
    Q_OBJECT

public:
    explicit CPrincipleView(CChildFrame* frame, QWidget* parent = nullptr);

    // Where the page is looked for: beside the executable, else the installed copy.
    static QString PagePath(const QString& program_folder);
};
