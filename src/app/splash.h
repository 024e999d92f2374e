#pragma once

#include <QPixmap>
#include <QString>

class QSplashScreen;

// The start-up picture ./Splash.bmp, shown centred for the pause of start-up.
class CSplash {
public:
    virtual ~CSplash();

    // False (and no picture, size 0 x 0) when the file cannot be read.
    bool LoadPicture(const QString& path);
    void ShowSplash();
    void CloseSplash();

    int Width() const { return m_picture.width(); }
    int Height() const { return m_picture.height(); }
    bool IsShown() const { return m_window != nullptr; }

private:
    QPixmap m_picture;
    QSplashScreen* m_window = nullptr;
};
