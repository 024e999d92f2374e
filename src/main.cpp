#include "app/mainframe.h"
#include "app/plyforgeapp.h"

#include <QApplication>

#include <clocale>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kHelp =
    "usage: plyforge [PROJECT]\n"
    "Starts the Plyforge desktop program. PROJECT, a .plyforge project file, is opened\n"
    "at start-up.\n"
    "\n"
    "  -h, --help     print this text and exit\n"
    "  -v, --version  print the version and exit\n";

// --help and --version are answered before Qt needs a display. Returns the exit
// status, or -1 when the program is to start.
int AnswerInformationOption(int argc, char** argv)
{
    if (argc != 2)
        return -1;
    if (!std::strcmp(argv[1], "--version") || !std::strcmp(argv[1], "-v")) {
        std::printf("plyforge %s\n", PLYFORGE_VERSION);
        return 0;
    }
    if (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (const int status = AnswerInformationOption(argc, argv); status >= 0)
        return status;
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
