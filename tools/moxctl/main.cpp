// moxctl: the library's command-line tool. Shape: moxctl <area> <verb> [args].
#include "Cli.h"

#include <mox/mox.h>

#include <exception>
#include <iostream>

namespace {

void printException(const MOX::EXCEPTIONS::MoxException& e)
{
    std::cerr << "moxctl: " << e.getName() << ' ' << e.getCode() << ": " << e.getMessage() << '\n';
    if (!e.getDetail().empty())
        std::cerr << e.getDetail() << '\n';
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"moxctl: inspect and exercise the MOX core data library"};
    app.require_subcommand(1);
    app.fallthrough(false);
    moxctl::addInfoCommands(app);
    moxctl::addXmlCommands(app);
    moxctl::addAppCommands(app);
    moxctl::addIdentityCommands(app);
    moxctl::addIdentityDocumentCommands(app);
    moxctl::addAttributeCommands(app);
    moxctl::addTimeCommands(app);
    moxctl::addClassCommands(app);
    moxctl::addHandleCommands(app);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return moxctl::kExitUsage;
    } catch (const moxctl::Exit& e) {
        if (!e.message.empty())
            std::cerr << "moxctl: " << e.message << '\n';
        return e.status;
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        printException(e);
        return moxctl::kExitRejected;
    } catch (const std::exception& e) {
        std::cerr << "moxctl: " << e.what() << '\n';
        return moxctl::kExitRejected;
    }
    return moxctl::kExitOk;
}
