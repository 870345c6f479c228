// SPDX-License-Identifier: MIT
// moxctl info: the library's build information.
#include "Cli.h"
#include "Output.h"

#include <mox/mox.h>

namespace moxctl {

void addInfoCommands(CLI::App& app)
{
    CLI::App* info = app.add_subcommand("info", "Print the library's build information");
    addJsonOption(info);
    info->callback([] {
        LibraryInfo li{};
        mox_getLibraryInfo(&li);
        const std::pair<const char*, const char*> fields[] = {
            {"version", li.version},       {"change_number", li.changeNumber}, {"build_number", li.buildNumber},
            {"product_name", li.productName}, {"short_name", li.shortName},     {"platform", li.platform},
            {"build_date", li.buildDate},   {"build_time", li.buildTime},       {"label", li.label},
            {"release_type", li.releaseType},
        };
        Output out;
        for (const auto& f : fields)
            out.add(f.first, f.second ? f.second : "");
        out.print();
    });
}

} // namespace moxctl
