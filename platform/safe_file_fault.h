#pragma once

#include "platform/safe_file.h"

// True when the fault hook asks this step to fail.
bool ReplaceStepFails(EReplaceStep step);
