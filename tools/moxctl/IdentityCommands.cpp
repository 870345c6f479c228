// SPDX-License-Identifier: MIT
// moxctl identity: how the library reads an identity text, and conversion between
// identity formats.
//
// Layout: addIdentityCommands finds or creates the "identity" command and hands it to
// addIdentityTextCommands (show, convert). The document verbs (`identity xml`,
// `identities ...`) are registered separately in IdentityDocumentCommands.cpp.
#include "Cli.h"
#include "Output.h"

#include <mox/mox.h>

#include <iostream>
#include <memory>
#include <string>

namespace moxctl {

namespace {

using MOX::AUTHN::IIdentity;
using MOX::RT::SmartPointer;

/// An identity as given on the command line: its text, its format (empty: worked out
/// from the text) and whether it names a group.
struct IdentityText {
    std::string text;
    std::string format;
    bool group = false;
};

void addIdentityTextOptions(CLI::App* cmd, IdentityText& args, const std::string& formatOption)
{
    cmd->add_option("text", args.text, "The identity text, for example NT:CORP/alice or alice@CORP")->required();
    cmd->add_option(formatOption, args.format,
                    "Format of TEXT (QEL, EMAIL, UPN or any other name); default: EMAIL when TEXT has an '@' "
                    "and no '/', else QEL");
    cmd->add_flag("--group", args.group,
                  "Take TEXT as a group identity, stored as it stands (without it, a QEL text is read as "
                  "authority/account and its account decides user or group; other formats give a user)");
}

/// The identity the library makes of `args`.
SmartPointer<IIdentity> identityFromText(const IdentityText& args)
{
    std::string format = args.format;
    if (format.empty()) {
        const bool mail = args.text.find('@') != std::string::npos && args.text.find('/') == std::string::npos;
        format = mail ? MOX::MOX_FORMAT_EMAIL : MOX::MOX_FORMAT_QEL;
    }
    if (args.group)
        return MOX::createGroupIdentity(format, args.text);
    const std::size_t slash = args.text.find('/');
    if (format == MOX::MOX_FORMAT_QEL && slash != std::string::npos) {
        setActivity("reading the identity '" + args.text + "' as authority '" + args.text.substr(0, slash) +
                    "' and account '" + args.text.substr(slash + 1) + "'");
        return MOX::createIdentity(MOX::parseAuthorityId(args.text.substr(0, slash)),
                                   MOX::parseAccountId(args.text.substr(slash + 1)));
    }
    return MOX::createUserIdentity(format, args.text);
}

void addIdentityTextCommands(CLI::App& identity)
{
    auto showArgs = std::make_shared<IdentityText>();
    CLI::App* show = identity.add_subcommand(
        "show", "Print an identity's format, text, type, name and authority (or the library's error)");
    addIdentityTextOptions(show, *showArgs, "--format");
    addJsonOption(show);
    show->callback([showArgs] {
        setActivity("reading the identity '" + showArgs->text + "'");
        const SmartPointer<IIdentity> id = identityFromText(*showArgs);
        // Everything is worked out before anything is printed: an identity without a
        // valid authority prints only the error.
        const std::string authorityName = id->getAuthorityName();
        const std::string authorityFormat = id->getAuthorityFormat();
        Output()
            .add("format", id->getFormat())
            .add("value", id->getValue())
            .add("type", id->getType())
            .add("name", id->getName())
            .add("authority name", authorityName)
            .add("authority format", authorityFormat)
            .print();
    });

    auto convertArgs = std::make_shared<IdentityText>();
    auto target = std::make_shared<std::string>();
    CLI::App* convert =
        identity.add_subcommand("convert", "Write an identity in another format and print the new text");
    addIdentityTextOptions(convert, *convertArgs, "--from");
    convert->add_option("--to", *target, "Target format: EMAIL, UPN or QEL")->required();
    convert->callback([convertArgs, target] {
        setActivity("converting the identity '" + convertArgs->text + "' to " + *target);
        const SmartPointer<IIdentity> converted = MOX::toIdentityInFormat(identityFromText(*convertArgs), *target);
        std::cout << converted->getValue() << '\n';
    });
}

} // namespace

void addIdentityCommands(CLI::App& app)
{
    // The identities document's verbs (IdentityDocumentCommands.cpp) join the same
    // "identity" command; whichever registration runs first creates it.
    CLI::App* identity = nullptr;
    try {
        identity = app.get_subcommand("identity");
    } catch (const CLI::OptionNotFound&) {
        identity = app.add_subcommand("identity", "Identities of principals");
    }
    identity->require_subcommand(1);
    addIdentityTextCommands(*identity);
}

} // namespace moxctl
