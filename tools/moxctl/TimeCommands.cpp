#include "Cli.h"

namespace moxctl {

void addTimeCommands(CLI::App& app)
{
    (void)app;
}

} // namespace moxctl
