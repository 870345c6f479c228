// moxctl class / interface: read class and interface ids and show their parts and forms.
#include "Cli.h"

#include <mox/mox.h>

#include <iostream>
#include <memory>

namespace moxctl {

void addClassCommands(CLI::App& app)
{
    auto text = std::make_shared<std::string>();

    CLI::App* cls = app.add_subcommand("class", "Class ids");
    cls->require_subcommand(1);
    CLI::App* parseClass = cls->add_subcommand("parse", "Read a class id (XML form or \"Name v=3\")");
    parseClass->add_option("text", *text, "The class id text")->required();
    parseClass->callback([text] {
        const MOX::RT::SmartPointer<MOX::CLASS::IClassId> id = MOX::parseClassId(*text);
        std::cout << "name: " << id->getName() << '\n'
                  << "version: " << id->getVersion() << '\n'
                  << "loader: " << MOX::getClassIdLoader(id) << '\n'
                  << "text: " << id->toString() << '\n'
                  << "xml: " << MOX::marshalClassId(id) << '\n';
    });

    CLI::App* itf = app.add_subcommand("interface", "Interface ids");
    itf->require_subcommand(1);
    CLI::App* parseInterface = itf->add_subcommand("parse", "Read an interface id (XML form or \"Name::4\")");
    parseInterface->add_option("text", *text, "The interface id text")->required();
    parseInterface->callback([text] {
        const MOX::RT::SmartPointer<MOX::CLASS::IInterfaceId> id = MOX::parseInterfaceId(*text);
        std::cout << "name: " << id->getName() << '\n'
                  << "version: " << id->getVersion() << '\n'
                  << "loader: (interfaces have none)\n"
                  << "xml: " << id->toString() << '\n';
    });
}

} // namespace moxctl
