// SPDX-License-Identifier: MIT
// moxctl attributes / properties: check, rewrite and query attributes and properties
// documents.
//
// Layout: addAttributeCommands creates the "attributes" and "properties" commands; each
// group of verbs registers itself in its own function below.
#include "Cli.h"
#include "Output.h"

#include <mox/mox.h>

#include <iostream>
#include <memory>
#include <string>

namespace moxctl {

namespace {

using MOX::Attributes::AttributeList;

struct AttributeArgs {
    std::string file;
    std::string name;
    std::string wanted;
};

AttributeList readAttributes(const std::string& path)
{
    return readStreamed(path, [](std::istream& in) { return MOX::Attributes::unmarshal(in); });
}

void addAttributeDocumentCommands(CLI::App& attributes)
{
    auto args = std::make_shared<AttributeArgs>();

    CLI::App* validate = attributes.add_subcommand("validate", "Read an attributes document and print how many "
                                                               "attributes it holds (or the library's error)");
    addInputOption(validate, args->file);
    addJsonOption(validate);
    validate->callback([args] {
        const auto count = static_cast<long long>(readAttributes(args->file).size()); // nothing printed on failure
        Output()
            .add("valid", true)
            .add("attributes", count)
            .text("valid: " + std::to_string(count) + " attributes")
            .print();
    });

    CLI::App* format = attributes.add_subcommand("format", "Read an attributes document and write it as the library "
                                                           "writes it");
    addInputOption(format, args->file);
    format->callback([args] {
        const std::string text = MOX::Attributes::marshal(readAttributes(args->file));
        std::cout << text << '\n';
    });
}

void addAttributeQueryCommands(CLI::App& attributes)
{
    auto args = std::make_shared<AttributeArgs>();

    CLI::App* find = attributes.add_subcommand("find", "Print the first attribute called NAME as an \"attribute\" "
                                                       "element (exit 1 when there is none)");
    find->add_option("name", args->name, "The attribute name (exact, case-sensitive)")->required();
    addInputOption(find, args->file);
    find->callback([args] {
        const AttributeList list = readAttributes(args->file);
        const auto found = MOX::Attributes::findAttribute(args->name, list);
        if (found.isNull())
            throw Exit{kExitRejected, "no attribute '" + args->name + "'"};
        std::cout << MOX::Attributes::marshal(found) << '\n';
    });

    CLI::App* match = attributes.add_subcommand(
        "match", "Exit 0 when the list meets the wanted list (every wanted attribute the list has holds the wanted "
                 "values; attributes the list lacks are skipped), 1 otherwise");
    match->add_option("wanted", args->wanted, "Attributes document of the wanted attributes")->required();
    addInputOption(match, args->file);
    match->callback([args] {
        const AttributeList wanted = readAttributes(args->wanted);
        const AttributeList list = readAttributes(args->file);
        if (!MOX::Attributes::matches(list, wanted)) {
            std::cout << "no match\n";
            throw Exit{kExitRejected, ""};
        }
        std::cout << "match\n";
    });
}

void addPropertiesCommands(CLI::App& properties)
{
    auto args = std::make_shared<AttributeArgs>();
    auto read = [args] {
        MOX::RT::PropertiesImpl set;
        MOX::XB::unmarshalProperties(readInput(args->file), args->name, set);
        return set;
    };

    CLI::App* validate = properties.add_subcommand("validate", "Read a properties document and print how many "
                                                               "properties it sets");
    validate->add_option("--root", args->name, "The root element's name")->required();
    addInputOption(validate, args->file);
    addJsonOption(validate);
    validate->callback([read] {
        const auto count = static_cast<long long>(read().getPropertyNames().size());
        Output()
            .add("valid", true)
            .add("properties", count)
            .text("valid: " + std::to_string(count) + " properties")
            .print();
    });

    CLI::App* format = properties.add_subcommand(
        "format", "Read a properties document and write the properties it sets (a later entry of a name wins)");
    format->add_option("--root", args->name, "The root element's name")->required();
    addInputOption(format, args->file);
    format->callback([args, read] {
        const std::string text = MOX::XB::marshalProperties(read(), args->name);
        std::cout << text << '\n';
    });
}

} // namespace

void addAttributeCommands(CLI::App& app)
{
    CLI::App* attributes = app.add_subcommand("attributes", "Attribute lists and their XML document");
    attributes->require_subcommand(1);
    addAttributeDocumentCommands(*attributes);
    addAttributeQueryCommands(*attributes);

    CLI::App* properties = app.add_subcommand("properties", "Properties XML documents");
    properties->require_subcommand(1);
    addPropertiesCommands(*properties);
}

} // namespace moxctl
