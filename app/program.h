#pragma once

#include "board/buildkind.h"

// Starts the application with the one main window of the given build and runs it.
int runProgram(int argc, char** argv, const BuildKind& kind);
