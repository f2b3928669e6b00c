#include "ui/app/InfoOptions.h"

#include <string_view>

#ifndef PELKO_VERSION
#define PELKO_VERSION "0"
#endif

namespace pelko::ui {

InfoRequest FindInfoRequest(std::span<char* const> arguments) {
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--") break;
        if (argument == "--catalog") {
            ++i;  // its value, whatever it looks like
        } else if (argument == "-h" || argument == "--help") {
            return InfoRequest::Help;
        } else if (argument == "-v" || argument == "--version") {
            return InfoRequest::Version;
        }
    }
    return InfoRequest::None;
}

std::string PelkoHelpText() {
    return "pelko - Pelko－光盘管理工具, the desktop program of the disc catalog manager\n"
           "\n"
           "usage: pelko [--catalog DIR] [--no-splash]\n"
           "\n"
           "options:\n"
           "  --catalog DIR   open the catalog in DIR (default: $PELKO_CATALOG, else\n"
           "                  ~/.local/share/Pelko); a first start there creates it\n"
           "  --no-splash     start without the splash picture\n"
           "  -v, --version   print the version and exit\n"
           "  -h, --help      show this help and exit\n"
           "\n"
           "The standard options of Qt programs (such as -platform) are understood as well.\n"
           "pelko-cli is the command line of the same catalog; see pelko-cli --help.\n";
}

std::string PelkoVersionText() { return std::string("pelko ") + PELKO_VERSION + "\n"; }

}  // namespace pelko::ui
