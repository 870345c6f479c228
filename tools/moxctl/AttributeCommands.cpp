#include "Cli.h"

namespace moxctl {

void addAttributeCommands(CLI::App& app)
{
    (void)app;
}

} // namespace moxctl
