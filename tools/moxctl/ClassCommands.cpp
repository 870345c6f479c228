// SPDX-License-Identifier: MIT
// moxctl class / interface: read class and interface ids and show their parts and forms.
#include "Cli.h"
#include "Output.h"

#include <mox/mox.h>

#include <memory>

namespace moxctl {

void addClassCommands(CLI::App& app)
{
    auto text = std::make_shared<std::string>();

    CLI::App* cls = app.add_subcommand("class", "Class ids");
    cls->require_subcommand(1);
    CLI::App* parseClass = cls->add_subcommand("parse", "Read a class id (XML form or \"Name v=3\")");
    parseClass->add_option("text", *text, "The class id text")->required();
    addJsonOption(parseClass);
    parseClass->callback([text] {
        setActivity("reading the class id '" + *text + "'");
        const MOX::RT::SmartPointer<MOX::CLASS::IClassId> id = MOX::parseClassId(*text);
        Output()
            .add("name", id->getName())
            .add("version", static_cast<long long>(id->getVersion()))
            .add("loader", MOX::getClassIdLoader(id))
            .add("text", id->toString())
            .add("xml", MOX::marshalClassId(id))
            .print();
    });

    CLI::App* itf = app.add_subcommand("interface", "Interface ids");
    itf->require_subcommand(1);
    CLI::App* parseInterface = itf->add_subcommand("parse", "Read an interface id (XML form or \"Name::4\")");
    parseInterface->add_option("text", *text, "The interface id text")->required();
    addJsonOption(parseInterface);
    parseInterface->callback([text] {
        setActivity("reading the interface id '" + *text + "'");
        const MOX::RT::SmartPointer<MOX::CLASS::IInterfaceId> id = MOX::parseInterfaceId(*text);
        Output()
            .add("name", id->getName())
            .add("version", static_cast<long long>(id->getVersion()))
            .add("xml", id->toString())
            .print();
    });
}

} // namespace moxctl
