// The owner record of the command-line tool: warnings go to standard error
// as "text: caption", questions are answered with Cancel, and progress
// captions are not shown.
#pragma once

#include "base/owner.h"

Owner CliOwner();
