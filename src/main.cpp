#include "app/apptranslator.h"
#include "app/mainframe.h"
#include "app/plyforgeapp.h"
#include "forms/reportexport.h"

#include <QApplication>

#include <clocale>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kHelp =
    "usage: plyforge [PROJECT]\n"
    "       plyforge --export-pdf PROJECT OUT.pdf\n"
    "Starts the Plyforge desktop program. PROJECT, a .plyforge project file, is opened\n"
    "at start-up. With --export-pdf, the project is calculated and its report written\n"
    "to OUT.pdf without a window (exit status 0; 2 when the project cannot be read or\n"
    "the file not written).\n"
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
    AppTranslator translator;
    translator.Install(MessageLanguageFromEnvironment());
    if (argc >= 2 && !std::strcmp(argv[1], "--export-pdf")) {
        if (argc != 4) {
            std::fputs("plyforge: --export-pdf needs a project and an output file\n", stderr);
            return 2;
        }
        QString error;
        if (ReportExport::ExportProject(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), error))
            return 0;
        std::fprintf(stderr, "plyforge: %s\n", error.toLocal8Bit().constData());
        return 2;
    }
    CPlyforgeApp app({});
    if (!app.InitInstance())
        return 1;
    // plyforge PATH opens that project at start-up.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        app.MainWnd()->OpenProject(arguments.at(1));
    return QApplication::exec();
}
