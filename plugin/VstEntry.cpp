// The exported entry points; filled in below.
