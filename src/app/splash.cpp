#include "app/splash.h"

#include <QSplashScreen>

CSplash::~CSplash() { CloseSplash(); }

bool CSplash::LoadPicture(const QString& path)
{
    m_picture = QPixmap(path);
    return !m_picture.isNull();
}

void CSplash::ShowSplash()
{
    CloseSplash();
    m_window = new QSplashScreen(m_picture, Qt::WindowStaysOnTopHint);
    m_window->setCursor(Qt::WaitCursor);
    if (!m_picture.isNull())
        m_window->show();
    m_window->repaint();
}

void CSplash::CloseSplash()
{
    delete m_window;
    m_window = nullptr;
}
