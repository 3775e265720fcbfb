#pragma once

#include "cli/cli_arguments.h"

// Runs one parsed command in its working folder; messages go to standard error,
// one line each, naming the file concerned. Returns the exit status.
int RunCliCommand(const CCliArguments& arguments);
