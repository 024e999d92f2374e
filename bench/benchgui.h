#pragma once

#include <QEvent>
#include <QObject>

// What the desktop benchmarks share: an offscreen start and a paint counter.
namespace benchgui {

// Chooses the offscreen platform and quiets its warnings; call before the
// QApplication is made.
void UseOffscreenPlatform();

// Runs the benchmarks named on the command line; 1 after an unknown argument.
int RunBenchmarks(int& argc, char** argv);

// Counts the paint events a widget receives, to show the timed part really painted.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace benchgui
