// The numbers of the program's external functions (its table is in handlers.cpp), as the call
// sites use them.
#pragma once

enum ExternalFunction : int {
  kSendMessage = 0,
  kRemoveFontResource = 1,
  kSkinAttach = 2,
  kAddFontResource = 3,
};
