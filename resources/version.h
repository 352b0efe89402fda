// The program's version, shown in the About box and in the file's version
// resource, and named by the packages.
#pragma once

#define VITRELLE_VERSION_MAJOR 1
#define VITRELLE_VERSION_MINOR 10
#define VITRELLE_VERSION_TEXT "1.10"
