#include "Cli.h"

namespace moxctl {

void addClassCommands(CLI::App& app)
{
    (void)app;
}

} // namespace moxctl
