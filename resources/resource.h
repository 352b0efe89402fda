// Identifiers shared by the resource script and the program. The numbered
// texts have their own list, strings.def.
#pragma once

#ifndef RC_INVOKED
// The name of the icon (and of the menu and accelerator table the commands
// bring); the resource script spells it as the bare word VITRELLE.
constexpr const char* kResourceName = "VITRELLE";
#endif
