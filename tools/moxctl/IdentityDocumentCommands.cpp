// SPDX-License-Identifier: MIT
// moxctl verbs of the identities document: `identities validate|format`, `identity xml`.
#include "Cli.h"
#include "Output.h"

#include <mox/mox.h>

#include <iostream>
#include <memory>

namespace moxctl {

void addIdentityDocumentCommands(CLI::App& app)
{
    auto file = std::make_shared<std::string>();
    auto text = std::make_shared<std::string>();

    CLI::App* identities = app.add_subcommand("identities", "Read and write identities documents");
    identities->require_subcommand(1);

    CLI::App* validate = identities->add_subcommand(
        "validate", "Check an identities document; a rejected one prints the decoder's detail and exits 1");
    addInputOption(validate, *file);
    addJsonOption(validate);
    validate->callback([file] {
        const auto set = readStreamed(*file, [](std::istream& in) { return MOX::parseIdentities(in); });
        const auto count = static_cast<long long>(set.size());
        Output()
            .add("valid", true)
            .add("identities", count)
            .text("valid: " + std::to_string(count) + (count == 1 ? " identity" : " identities"))
            .print();
    });

    CLI::App* format = identities->add_subcommand("format", "Re-write an identities document as the library writes it");
    addInputOption(format, *file);
    format->callback([file] { std::cout << MOX::marshalIdentities(readStreamed(*file, [](std::istream& in) { return MOX::parseIdentities(in); })) << '\n'; });

    // "identity" belongs to the identity commands; add it here only when they did not.
    CLI::App* identity = nullptr;
    try {
        identity = app.get_subcommand("identity");
    } catch (const CLI::OptionNotFound&) {
        identity = app.add_subcommand("identity", "Identities");
        identity->require_subcommand(1);
    }
    CLI::App* xml = identity->add_subcommand(
        "xml", "Print the item element of TEXT (a QEL identity text or item elements)");
    xml->add_option("text", *text, "Identity text or item elements")->required();
    xml->callback([text] {
        setActivity("reading the identity '" + *text + "'");
        std::cout << MOX::marshalIdentity(MOX::parseIdentity(*text)) << '\n';
    });
}

} // namespace moxctl
