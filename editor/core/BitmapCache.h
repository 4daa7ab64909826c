#pragma once
// The module-wide bitmap cache: images decoded once per module, found by resource
// number by every editor instance, and destroyed when the module unloads.
class LICE_IBitmap;

class BitmapCache
{
public:
  // The bitmap kept for the number, or null.
  static LICE_IBitmap* Find(int number);
  // Keeps a decoded bitmap under its number and returns the one kept: when another
  // editor entered the same number meanwhile, that one is returned and this one
  // destroyed.
  static LICE_IBitmap* Add(int number, LICE_IBitmap* bitmap);
  static int Size();
  // Destroys every bitmap (the module is unloading, or a test starts afresh).
  static void Clear();
};
