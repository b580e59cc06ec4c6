// A library that stands for one planted in the folder the setup program is
// started from.
extern "C" __declspec(dllexport) int QePlanted() { return 1; }
