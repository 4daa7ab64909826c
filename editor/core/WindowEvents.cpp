#include "editor/core/WindowEvents.h"

int WindowEvents::KeyNumber(int virtualKey)
{
  switch (virtualKey)
  {
  case 32: // space
    return 0;
  case 38: // up
    return 1;
  case 40: // down
    return 2;
  case 37: // left
    return 3;
  case 39: // right
    return 4;
  default:
    break;
  }
  if (virtualKey >= '0' && virtualKey <= '9')
    return 5 + virtualKey - '0';
  if (virtualKey >= 'A' && virtualKey <= 'Z')
    return 15 + virtualKey - 'A';
  // The numeric pad's codes (97 is its "1") fall into the range of the small letters
  // and map as those would.
  if (virtualKey >= 'a' && virtualKey <= 'z')
    return 15 + virtualKey - 'a';
  return -1;
}
