#include "Cli.h"

namespace moxctl {

void addAppCommands(CLI::App& app)
{
    (void)app;
}

} // namespace moxctl
