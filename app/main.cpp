#include "cli/commands.h"

int main(int argc, char** argv) { return kq::app::run_command_line(argc, argv); }
