// Quillor.exe: the stand-in for the product that the demo package brings.
// It only tells what it is and which folder it runs from, so that an
// installation can be tried from its shortcuts.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char folder[MAX_PATH + 1] = {};
  GetCurrentDirectoryA(MAX_PATH, folder);
  char text[MAX_PATH + 64];
  wsprintfA(text, "Quillor Pro 5.8 Build 1\n\n%s", folder);
  MessageBoxA(nullptr, text, "Quillor Pro 5.8 - Gestion Commerciale", MB_OK | MB_ICONINFORMATION);
  return 0;
}
