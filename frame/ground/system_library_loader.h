// The system's own module loader, for binding external functions in the Windows builds.
#pragma once

#include "frame/ground/external_functions.h"

const LibraryLoader& SystemLibraryLoader();

// The frame's own function that a binding of the system export `exportName` gets in its place
// (the GBK forms of the font file functions), or null when the export is bound as it is.
void* GbkFormOfSystemExport(const char* exportName);
