// The program's version, shown in the About box and in the file's version
// resource, and named by the packages; and its copyright, the LICENSE file's
// copyright line, which the version resources of the program and the
// installer carry.
#pragma once

#define VITRELLE_VERSION_MAJOR 1
#define VITRELLE_VERSION_MINOR 11
#define VITRELLE_VERSION_TEXT "1.11"
#define VITRELLE_COPYRIGHT_TEXT "Copyright (c) 2026 The Vitrelle authors"
