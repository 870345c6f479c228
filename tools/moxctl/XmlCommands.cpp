// SPDX-License-Identifier: MIT
#include "Cli.h"

#include <mox/mox.h>

#include <iostream>
#include <memory>

namespace moxctl {

void addXmlCommands(CLI::App& app)
{
    CLI::App* xml = app.add_subcommand("xml", "Read single XML elements with the runtime's XML utilities");
    xml->require_subcommand(1);

    struct Args {
        std::string element;
        std::string attribute;
        std::string file;
    };
    auto args = std::make_shared<Args>();

    CLI::App* get = xml->add_subcommand("get", "Print the first ELEMENT of the document, as written");
    get->add_option("element", args->element, "Element name (as written, prefix included)")->required();
    addInputOption(get, args->file);
    get->callback([args] {
        const std::string text = readInput(args->file);
        const std::string element = MOX::RT::XmlUtils::GetElement(args->element, text);
        if (element.empty())
            throw Exit{kExitRejected, "no element '" + args->element + "' found"};
        std::cout << element << '\n';
    });

    CLI::App* attr = xml->add_subcommand("attr", "Print the value of an attribute of the first ELEMENT");
    attr->add_option("element", args->element, "Element name")->required();
    attr->add_option("attribute", args->attribute, "Attribute name")->required();
    addInputOption(attr, args->file);
    attr->callback([args] {
        const std::string text = readInput(args->file);
        const std::string element = MOX::RT::XmlUtils::GetElement(args->element, text);
        if (element.empty())
            throw Exit{kExitRejected, "no element '" + args->element + "' found"};
        std::cout << MOX::RT::XmlUtils::GetAttributeValue(args->attribute, element) << '\n';
    });
}

} // namespace moxctl
