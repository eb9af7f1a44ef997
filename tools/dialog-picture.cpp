// Opens TriSpan's settings dialog the way a drafter does (the end button at
// the width step), as a new user first sees it (the settings deleted, so the
// defaults), and saves a picture of it as a BMP file, then cancels it.
// Windows only; tools/render-dialog.sh runs it under Wine on a virtual screen.
//   dialog-picture OUTPUT.bmp
#include "DialogPlayer.h"
#include "SettingsTable.h"
#include "SimHost.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Lets the dialog paint itself for a while.
void Pump(DWORD milliseconds) {
  DWORD until = GetTickCount() + milliseconds;
  while (GetTickCount() < until) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(20);
  }
}

bool SaveBitmap(HWND window, const char* path) {
  RECT rect;
  GetWindowRect(window, &rect);
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  HDC source = GetWindowDC(window);
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  DWORD stride = (DWORD(width) * 3 + 3) & ~3u;
  std::vector<BYTE> pixels(stride * DWORD(height));
  GetDIBits(memory, bitmap, 0, UINT(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, source);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + DWORD(pixels.size());
  FILE* out = std::fopen(path, "wb");
  if (!out) return false;
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&header, sizeof header, 1, out);
  std::fwrite(pixels.data(), 1, pixels.size(), out);
  return std::fclose(out) == 0;
}

std::string PluginBeside(const char* program) {
  std::string path = program;
  return path.substr(0, path.find_last_of("\\/") + 1) + "TriSpan.dll";
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: dialog-picture OUTPUT.bmp\n");
    return 2;
  }
  if (SimLoadPlugin(PluginBeside(argv[0]).c_str()) != 0) {
    std::fprintf(stderr, "dialog-picture: %s\n", SimLastError());
    return 1;
  }
  std::u16string key = MakeSettingsKey(kSettingsSubKey);
  RegDeleteTreeW(HKEY_CURRENT_USER, reinterpret_cast<LPCWSTR>(key.c_str()));
  bool saved = false;
  OnNextDialog([&](HWND dialog) {
    Pump(1500);
    saved = SaveBitmap(dialog, argv[1]);
  });
  SimStartCommand();
  SimEvent end{EVT_END, 0, 0, 0, 0, 0, nullptr};
  SimSendEvent(&end);
  SimUnloadPlugin();
  if (!saved) std::fprintf(stderr, "dialog-picture: the dialog did not open or was not saved\n");
  return saved ? 0 : 1;
}
