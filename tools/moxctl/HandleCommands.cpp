#include "Cli.h"

namespace moxctl {

void addHandleCommands(CLI::App& app)
{
    (void)app;
}

} // namespace moxctl
