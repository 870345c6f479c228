// SPDX-License-Identifier: MIT
// moxctl app: join the platform the way a component does, and show the application.
#include "Cli.h"
#include "Output.h"

#include <mox/mox.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <utility>
#include <vector>

namespace moxctl {

namespace {

using MOX::RT::SmartPointer;

/// The options shared by `app join` and `app show`, with their built-in defaults.
struct AppArgs {
    std::string product = "Demo";
    std::string component = "moxctl";
    std::string version = "1.0";
    std::string app = "join-demo";
    std::string config; // default: the current directory
    std::string libraryPath;
    std::vector<std::string> set;
    std::vector<std::string> log = {"LogService.Pause.audit=on", "audit.login=alice", "LogService.Resume.audit=on",
                                    "audit.logout=alice"};
    std::string applicationFile;
};

void addIdOptions(CLI::App* cmd, AppArgs& args)
{
    cmd->add_option("--product", args.product, "Product name")->capture_default_str();
    cmd->add_option("--component", args.component, "Component of the product")->capture_default_str();
    cmd->add_option("--version", args.version, "Product version")->capture_default_str();
    cmd->add_option("--app", args.app, "Application name")->capture_default_str();
    cmd->add_option("--config", args.config, "Bootstrap path (property path.config); default: the current directory");
    cmd->add_option("--library-path", args.libraryPath,
                    "Directories to search for the service library (property MOX_LIBRARY_PATH); default: none, "
                    "so the environment variable and the system's search decide");
    cmd->add_option("--set", args.set, "Property KEY=VALUE set before joining (repeatable)");
}

std::pair<std::string, std::string> splitSetting(const std::string& setting)
{
    const auto eq = setting.find('=');
    if (eq == std::string::npos || eq == 0)
        throw Exit{kExitUsage, "expected KEY=VALUE, got '" + setting + "'"};
    return {setting.substr(0, eq), setting.substr(eq + 1)};
}

/// Steps 1 to 3 of joining: the ids, registration, bootstrap path and properties.
SmartPointer<MOX::APP::IApplicationId> prepare(const AppArgs& args)
{
    // Usage errors first, before anything is registered.
    std::vector<std::pair<std::string, std::string>> settings;
    for (const std::string& s : args.set)
        settings.push_back(splitSetting(s));
    const auto product = MOX::createProductId(args.product, args.component, args.version);
    const auto id = MOX::createApplicationId(product, args.app);
    const auto app = MOX::getApplication(id);
    app->setBootstrapPath(args.config.empty() ? std::filesystem::current_path().string() : args.config);
    if (!args.libraryPath.empty())
        app->setProperty("MOX_LIBRARY_PATH", args.libraryPath);
    for (const auto& s : settings)
        app->setProperty(s.first, s.second);
    return id;
}

/// Shows where the service library is looked for and which file answers, by asking the
/// runtime's loader exactly what the application will ask it.
void printLibrary(MOX::APP::IApplication& app)
{
    const std::string file = app.getProperty("MOX_LIBRARY_FILE", "MOX-SM");
    const std::string env = app.getProperty("MOX_LIBRARY_ENV", "MOX_LIBRARY_PATH");
    const std::string searchPath = app.getLibraryPath();
    std::cout << "== service library\n"
              << "file: " << file << '\n'
              << "entry point: " << app.getProperty("MOX_LIBRARY_METHOD", "loadServiceHelper") << '\n'
              << "search path: " << (searchPath.empty() ? "(empty: the private folder and the system's search only)" : searchPath) << '\n'
              << "  from property MOX_LIBRARY_PATH: " << app.getProperty("MOX_LIBRARY_PATH", "(unset)") << '\n'
              << "  from environment " << env << ": " << MOX::RT::EnvUtils::GetEnv(env, "(unset)") << '\n';
    try {
        const auto library = MOX::RT::DllManager::loadLibrary(MOX::RT::Library(file, searchPath));
        std::cout << "tried:\n";
        for (const std::string& place : library->getTried())
            std::cout << "  " << place << '\n';
        std::cout << "loaded: " << library->getPath() << '\n';
    } catch (const MOX::EXCEPTIONS::MoxException&) {
        std::cout << "loaded: nothing (see the error below)\n" << std::flush;
        throw;
    }
}

void join(const AppArgs& args)
{
    std::vector<std::pair<std::string, std::string>> logSettings;
    for (const std::string& s : args.log)
        logSettings.push_back(splitSetting(s));

    const auto id = prepare(args);
    const auto app = MOX::getApplication(id);
    std::cout << "== application id\n" << id->marshal() << '\n';
    if (!args.applicationFile.empty())
        app->unmarshal(readInput(args.applicationFile));
    std::cout << "== bootstrap\npath.config: " << app->getBootstrapPath() << '\n';
    printLibrary(*app);

    const auto manager = MOX::getServiceManager(id);
    std::cout << "helper: " << MOX::RT::checkDeref(app->getServiceHelper()).toString() << '\n';
    std::cout << "== services\n";
    for (const std::string& name : manager->getServiceNames()) {
        const auto service = manager->getService(name);
        std::cout << name << ": " << (service.isNull() ? "(null)" : service->toString()) << '\n';
    }

    // Step 5: from now on property changes also reach the log service.
    for (const auto& s : logSettings)
        app->setProperty(s.first, s.second);
    std::cout << "== log entries\n";
    const auto log = app->getServiceHelper()->getLogService();
    if (log.isNull()) {
        std::cout << "(the service library has no log service)\n";
        return;
    }
    for (const auto& entry : log->getEntries())
        std::cout << entry->toString() << '\n';
    std::cout << "log service: " << log->toString() << '\n';
}

} // namespace

void addAppCommands(CLI::App& app)
{
    CLI::App* cmd = app.add_subcommand("app", "Join the platform as an application");
    cmd->require_subcommand(1);
    auto args = std::make_shared<AppArgs>();

    CLI::App* joinCmd = cmd->add_subcommand(
        "join", "Create the ids, register, set the bootstrap path and properties, get the service manager, "
                "and print what was found");
    addIdOptions(joinCmd, *args);
    joinCmd->add_option("--log", args->log,
                        "Property KEY=VALUE set after joining, so that it reaches the log service (repeatable; "
                        "default: pause audit, an audit entry, resume audit, another audit entry)");
    joinCmd->add_option("--application", args->applicationFile,
                        "Fill the application from this \"application\" element (as `app show` prints it; '-' "
                        "for standard input) before joining");
    joinCmd->callback([args] { join(*args); });

    CLI::App* show = cmd->add_subcommand("show", "Print the \"application\" element of the application");
    addIdOptions(show, *args);
    addJsonOption(show);
    show->callback([args] {
        const std::string element = MOX::getApplication(prepare(*args))->marshal();
        Output().add("application", element).text(element).print();
    });
}

} // namespace moxctl
