// The owner record of the command-line tool: warnings go to standard error
// as "text: caption", questions are answered with Cancel, and progress
// captions are not shown.
#pragma once

#include "base/owner.h"

Owner CliOwner();
// The same, but the first warning is kept in `message` ("text: caption")
// instead, for a caller that tells the outcome in one line.
Owner MessageKeepingOwner(std::string& message);
