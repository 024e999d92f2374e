#include "cli/clirunner.h"
#include "util/messagelanguage.h"

#include <clocale>
#include <iostream>

int main(int argc, char** argv)
{
    // Numbers read and print with a decimal point whatever the user's locale.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    return CliRunner(std::cout, std::cerr, MessageLanguageFromEnvironment()).Run(argc, argv);
}
