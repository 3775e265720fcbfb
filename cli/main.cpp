#include "cli/cli_arguments.h"
#include "cli/cli_commands.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    CCliArguments arguments;
    std::string strError;
    if (!ParseCliArguments(args, arguments, strError))
    {
        std::fprintf(stderr, "jarvane-cli: %s; try 'jarvane-cli --help'\n", strError.c_str());
        return CLI_USAGE;
    }
    if (arguments.bHelp)
    {
        std::fputs(CLI_HELP_TEXT, stdout);
        return CLI_OK;
    }
    return RunCliCommand(arguments);
}
