#include "app/mainframe.h"
#include "app/plyforgeapp.h"

#include <QApplication>

#include <clocale>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // Qt takes the locale from the environment; numbers must read and print with a
    // decimal point whatever it is.
    std::setlocale(LC_NUMERIC, "C");
    CPlyforgeApp app({});
    if (!app.InitInstance())
        return 1;
    // plyforge PATH opens that project at start-up.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        app.MainWnd()->OpenProject(arguments.at(1));
    return QApplication::exec();
}
