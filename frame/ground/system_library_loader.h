// The system's own module loader, for binding external functions in the Windows builds.
#pragma once

#include "frame/ground/external_functions.h"

const LibraryLoader& SystemLibraryLoader();
