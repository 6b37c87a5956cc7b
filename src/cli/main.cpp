// lumigrave-cli: the batch watermarker, on the same engine and presets as the
// application. Everything it does lives in the lumigrave_cli library.
#include "cli/cli_main.h"

int main(int argc, char** argv) {
    return lumigrave::cli::cliMain(argc, argv);
}
