// vitrelle-wic.spi: the image-loader plug-in that ships with Vitrelle. It
// reads pictures through the system's Windows Imaging Component: PNG, JPEG,
// TIFF and icons everywhere, WebP and HEIF where the system has a codec for
// them. Every picture is converted to 32-bit BGRA by the component (the one
// conversion every version of it does for every format) and handed back as
// 24 bits, or as 32 bits when it has transparent pixels.
#include <windows.h>
#include <wincodec.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "plugins/plugin_interface_win.h"
#include "plugins/wic_picture.h"

namespace {

// Results of GetPicture.
enum PictureResult : int {
  kPictureDone = 0,
  kPictureUnknownFormat = 2,
  kPictureBroken = 3,
  kPictureNoMemory = 4,
  kPictureReadError = 6,
};

struct FormatEntry {
  WicFormat format;
  const GUID* container;
  const char* pattern;
  const char* description;
};

const FormatEntry kFormats[] = {
    {WicFormat::kPng, &GUID_ContainerFormatPng, "*.png", "PNG Files"},
    {WicFormat::kJpeg, &GUID_ContainerFormatJpeg, "*.jpg;*.jpeg;*.jpe;*.jfif", "JPEG Files"},
    {WicFormat::kTiff, &GUID_ContainerFormatTiff, "*.tif;*.tiff", "TIFF Files"},
    {WicFormat::kIco, &GUID_ContainerFormatIco, "*.ico", "Icon Files"},
    {WicFormat::kWebp, &GUID_ContainerFormatWebp, "*.webp", "WebP Files"},
    {WicFormat::kHeif, &GUID_ContainerFormatHeif, "*.heic;*.heif", "HEIF Files"},
};
constexpr int kFormatCount = int(sizeof kFormats / sizeof kFormats[0]);

// A COM interface pointer that releases itself.
template <typename Interface>
struct ComPtr {
  Interface* p = nullptr;
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (p) p->Release();
  }
  Interface** out() { return &p; }
  Interface* operator->() const { return p; }
};

// COM for the current thread while in scope, undone only if it was done here.
struct ComScope {
  bool initialised;
  ComScope() : initialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (initialised) CoUninitialize();
  }
};

bool CreateFactory(ComPtr<IWICImagingFactory>& factory) {
  return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(factory.out())));
}

// The formats this system decodes, in table order; found once.
struct AvailableFormats {
  const FormatEntry* entries[kFormatCount];
  int count = 0;
};

const AvailableFormats& Available() {
  static const AvailableFormats available = [] {
    AvailableFormats found;
    ComScope com;
    ComPtr<IWICImagingFactory> factory;
    if (!CreateFactory(factory)) return found;
    for (const FormatEntry& entry : kFormats) {
      ComPtr<IWICBitmapDecoder> decoder;
      if (SUCCEEDED(factory->CreateDecoder(*entry.container, nullptr, decoder.out())))
        found.entries[found.count++] = &entry;
    }
    return found;
  }();
  return available;
}

bool CopyAnswer(const char* text, LPSTR buffer, int length) {
  if (!buffer || length <= 0) return false;
  lstrcpynA(buffer, text, length);
  return true;
}

// The frame to show: the first, or for an icon the largest of its pictures.
bool PickFrame(IWICBitmapDecoder* decoder, bool isIcon, ComPtr<IWICBitmapFrameDecode>& frame) {
  UINT frames = 0;
  if (FAILED(decoder->GetFrameCount(&frames)) || frames == 0) return false;
  UINT best = 0;
  if (isIcon) {
    uint64_t bestArea = 0;
    for (UINT i = 0; i < frames; ++i) {
      ComPtr<IWICBitmapFrameDecode> candidate;
      UINT width = 0, height = 0;
      if (FAILED(decoder->GetFrame(i, candidate.out())) || FAILED(candidate->GetSize(&width, &height))) continue;
      if (uint64_t(width) * height > bestArea) {
        bestArea = uint64_t(width) * height;
        best = i;
      }
    }
  }
  return SUCCEEDED(decoder->GetFrame(best, frame.out()));
}

// A moveable local block filled by `fill` while locked; null without memory.
template <typename Fill>
HLOCAL MakeBlock(size_t size, Fill fill) {
  HLOCAL block = LocalAlloc(LMEM_MOVEABLE, size);
  if (!block) return nullptr;
  auto* bytes = static_cast<uint8_t*>(LocalLock(block));
  if (!bytes) {
    LocalFree(block);
    return nullptr;
  }
  fill(bytes);
  LocalUnlock(block);
  return block;
}

int DecodePicture(IWICImagingFactory* factory, IWICBitmapDecoder* decoder, bool isIcon, HLOCAL* header,
                  HLOCAL* pixels) {
  ComPtr<IWICBitmapFrameDecode> frame;
  UINT width = 0, height = 0;
  if (!PickFrame(decoder, isIcon, frame) || FAILED(frame->GetSize(&width, &height))) return kPictureBroken;
  if (WicPixelBlockSize(int(width > 32767 ? 0 : width), int(height > 32767 ? 0 : height), 32) == 0)
    return kPictureBroken;
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.out())) ||
      FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)))
    return kPictureUnknownFormat;
  std::vector<uint8_t> bgra;
  const size_t bgraSize = size_t(width) * height * 4;
  bgra.resize(bgraSize);
  if (FAILED(converter->CopyPixels(nullptr, width * 4, UINT(bgraSize), bgra.data()))) return kPictureBroken;

  const int w = int(width), h = int(height);
  const int depth = WicOutputDepth(bgra.data(), uint64_t(width) * height);
  *header = MakeBlock(kWicHeaderBlockSize, [&](uint8_t* bytes) { WriteWicHeader(bytes, w, h, depth); });
  *pixels = MakeBlock(WicPixelBlockSize(w, h, depth),
                      [&](uint8_t* bytes) { WriteWicPixels(bgra.data(), w, h, depth, bytes); });
  if (*header && *pixels) return kPictureDone;
  for (HLOCAL* block : {header, pixels}) {
    if (*block) LocalFree(*block);
    *block = nullptr;
  }
  return kPictureNoMemory;
}

std::wstring WideText(UINT codePage, DWORD flags, const char* text) {
  const int length = MultiByteToWideChar(codePage, flags, text, -1, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(size_t(length), L'\0');
  MultiByteToWideChar(codePage, flags, text, -1, wide.data(), length);
  wide.resize(size_t(length - 1));
  return wide;
}

// Names come in UTF-8, as Vitrelle's helper passes them; a name that is no
// valid UTF-8 comes from a host of another code page and is read in that.
std::wstring WidePath(const char* path) {
  std::wstring wide = WideText(CP_UTF8, MB_ERR_INVALID_CHARS, path);
  return wide.empty() ? WideText(CP_ACP, 0, path) : wide;
}

// The decoder of a file, or of a picture in memory (flag bits 0-2 = 1).
bool CreateDecoderFor(IWICImagingFactory* factory, LPCSTR source, LONG_PTR length, UINT flags,
                      ComPtr<IWICStream>& stream, ComPtr<IWICBitmapDecoder>& decoder) {
  if ((flags & 7) == 0) {
    const std::wstring path = WidePath(source);
    return length == 0 && !path.empty() &&
           SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                       WICDecodeMetadataCacheOnDemand, decoder.out()));
  }
  return (flags & 7) == 1 && length > 0 && length <= LONG_PTR(MAXDWORD) &&
         SUCCEEDED(factory->CreateStream(stream.out())) &&
         SUCCEEDED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(source)), DWORD(length))) &&
         SUCCEEDED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, decoder.out()));
}

}  // namespace

extern "C" {

// 0: interface version; 1: the plug-in's name; 2k + 2 and 2k + 3: pattern
// and description of format k.
int WINAPI GetPluginInfo(int number, LPSTR buffer, int length) {
  if (number == 0) return CopyAnswer("00IN", buffer, length);
  if (number == 1) return CopyAnswer("Vitrelle WIC picture reader", buffer, length);
  const AvailableFormats& available = Available();
  const int k = (number - 2) / 2;
  if (number < 2 || k >= available.count) return 0;
  const FormatEntry& entry = *available.entries[k];
  return CopyAnswer(number % 2 == 0 ? entry.pattern : entry.description, buffer, length);
}

// `head` is a pointer to the file's first 2 KB when its high 16 bits are
// not 0; otherwise a file handle, and the file is read by its name instead.
int WINAPI IsSupported(LPCSTR path, DWORD_PTR head) {
  uint8_t bytes[2048] = {};
  const uint8_t* start = bytes;
  if (head & ~DWORD_PTR(0xFFFF)) {
    start = reinterpret_cast<const uint8_t*>(head);
  } else if (FILE* file = path ? _wfopen(WidePath(path).c_str(), L"rb") : nullptr) {
    std::fread(bytes, 1, sizeof bytes, file);
    std::fclose(file);
  }
  const WicFormat format = SniffWicFormat(start, sizeof bytes);
  for (int i = 0; i < Available().count; ++i)
    if (Available().entries[i]->format == format) return 1;
  return 0;
}

int WINAPI GetPicture(LPCSTR source, LONG_PTR length, UINT flags, HLOCAL* header, HLOCAL* pixels, FARPROC,
                      LONG_PTR) {
  if (!source || !header || !pixels) return kPictureReadError;
  *header = *pixels = nullptr;
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (!CreateFactory(factory)) return kPictureUnknownFormat;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  if (!CreateDecoderFor(factory.p, source, length, flags, stream, decoder)) return kPictureUnknownFormat;
  GUID container = {};
  const bool isIcon = SUCCEEDED(decoder->GetContainerFormat(&container)) && container == GUID_ContainerFormatIco;
  return DecodePicture(factory.p, decoder.p, isIcon, header, pixels);
}

}  // extern "C"
