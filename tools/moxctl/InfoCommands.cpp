#include "Cli.h"

#include <mox/mox.h>

#include <iostream>

namespace moxctl {

void addInfoCommands(CLI::App& app)
{
    CLI::App* info = app.add_subcommand("info", "Print the library's build information");
    info->callback([] {
        LibraryInfo li{};
        mox_getLibraryInfo(&li);
        const std::pair<const char*, const char*> fields[] = {
            {"version", li.version},       {"changeNumber", li.changeNumber}, {"buildNumber", li.buildNumber},
            {"productName", li.productName}, {"shortName", li.shortName},     {"platform", li.platform},
            {"buildDate", li.buildDate},   {"buildTime", li.buildTime},       {"label", li.label},
            {"releaseType", li.releaseType},
        };
        for (const auto& f : fields)
            std::cout << f.first << ": " << (f.second ? f.second : "") << '\n';
    });
}

} // namespace moxctl
