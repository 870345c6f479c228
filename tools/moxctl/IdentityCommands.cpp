#include "Cli.h"

namespace moxctl {

void addIdentityCommands(CLI::App& app)
{
    (void)app;
}

} // namespace moxctl
