#pragma once
// The options that only print something — the help and the version — answered before anything
// else starts, so that they work without a display (as in a terminal, or a package test).

#include <span>
#include <string>

namespace pelko::ui {

enum class InfoRequest { None, Help, Version };

// What the command line asks for: the first of "-h"/"--help" and "-v"/"--version", looking past
// the value of "--catalog DIR" (a folder may be named "--help"); None when neither is there.
InfoRequest FindInfoRequest(std::span<char* const> arguments);

// The help text: the usage line and the program's few options.
std::string PelkoHelpText();
// "pelko VERSION".
std::string PelkoVersionText();

}  // namespace pelko::ui
