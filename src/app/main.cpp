#include "common/Version.h"
#include "shell/ConfigApp.h"
#include "shell/MainFrame.h"

#include <cstdio>
#include <cstring>

namespace {

const char kHelpText[] =
    "Использование: ladograf [ФАЙЛ.cfg] [--meter ХОСТ:ПОРТ] [--nosplash]\n"
    "Ладограф: настройка измерителей \"Ворант-ПКЭ-1.7\".\n"
    "\n"
    "  ФАЙЛ.cfg            открыть эту конфигурацию вместо новой\n"
    "  --meter ХОСТ:ПОРТ   связь по Ethernet с этим прибором на время работы\n"
    "  --nosplash          запуск без заставки\n"
    "  -h, --help          показать эту справку и выйти\n"
    "  -v, --version       показать версию программы и выйти\n";

// --help and --version are answered before the GUI starts: they need no display.
// Returns the exit code when one of them was given, -1 otherwise.
int AnswerInfoOption(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--") == 0)
            break;
        if (std::strcmp(a, "-h") == 0 || std::strcmp(a, "--help") == 0) {
            std::fputs(kHelpText, stdout);
            return 0;
        }
        if (std::strcmp(a, "-v") == 0 || std::strcmp(a, "--version") == 0) {
            std::printf("ladograf %s\n", kProgramVersion);
            return 0;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (const int code = AnswerInfoOption(argc, argv); code >= 0)
        return code;
    CMainFrame::MarkStartupClock();
    CConfigApp app(argc, argv);
    if (!app.InitInstance())
        return 1;
    return app.exec();
}
