#pragma once

namespace lumigrave::cli {

// The whole of lumigrave-cli, for its main() to hand the arguments to: parses them,
// sets up an offscreen application with the bundled fonts when a command needs one,
// runs the command and returns the exit status.
int cliMain(int argc, char** argv);

}  // namespace lumigrave::cli
