#include "Cli.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace moxctl {

std::string readInput(const std::string& path)
{
    if (path.empty() || path == "-") {
        std::ostringstream out;
        out << std::cin.rdbuf();
        return out.str();
    }
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Exit{kExitUsage, "cannot read " + path};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

CLI::Option* addInputOption(CLI::App* cmd, std::string& path)
{
    path = "-";
    return cmd->add_option("file", path, "Document to read ('-' for standard input)");
}

} // namespace moxctl
