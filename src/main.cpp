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
    return QApplication::exec();
}
