// The three exports of an image-loader plug-in, declared once for the
// helper that calls them and for the plug-ins that define them. The same
// interface serves 32-bit and 64-bit libraries: the arguments that carry an
// address or a size are pointer-sized (DWORD_PTR, LONG_PTR), so a 32-bit
// plug-in sees exactly the 32-bit interface it was written for.
#pragma once

#include <windows.h>

extern "C" {

// Answers question `number` into `buffer` (`length` bytes); 0 when it has no answer.
int WINAPI GetPluginInfo(int number, LPSTR buffer, int length);
// Whether the plug-in reads the file. `head` is the address of the file's
// first 2 KB when any bit above the low 16 is set; otherwise a file handle.
int WINAPI IsSupported(LPCSTR path, DWORD_PTR head);
// Decodes the file (or, by `flags`, a memory block of `offset` bytes) into
// two local memory blocks: the bitmap header with its colours, and the rows.
int WINAPI GetPicture(LPCSTR path, LONG_PTR offset, UINT flags, HLOCAL* header, HLOCAL* pixels, FARPROC progress,
                      LONG_PTR userData);
}

using GetPluginInfoProc = decltype(&GetPluginInfo);
using IsSupportedProc = decltype(&IsSupported);
using GetPictureProc = decltype(&GetPicture);
