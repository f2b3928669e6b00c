// pelko: the desktop program. Everything it does lives in the libraries; see ui/app.

#include "ui/app/PelkoApplication.h"

int main(int argc, char** argv) { return pelko::ui::RunPelko(argc, argv); }
