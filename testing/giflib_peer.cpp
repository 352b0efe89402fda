#include "testing/giflib_peer.h"

#include <cstring>

#include "gif/gif_rows.h"

#ifdef _WIN32
// giflib is a Linux test tool; the Windows build of the tests skips every
// test that compares with it, and these never succeed.
bool GiflibDecode(const std::vector<uint8_t>&, PeerPicture&) { return false; }
std::vector<uint8_t> GiflibEncode(const PeerPicture&) { return {}; }
#else
#include <gif_lib.h>

namespace {

struct MemoryReader {
  const std::vector<uint8_t>* bytes;
  size_t position;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int size) {
  MemoryReader* reader = static_cast<MemoryReader*>(gif->UserData);
  const size_t left = reader->bytes->size() - reader->position;
  const size_t count = size_t(size) < left ? size_t(size) : left;
  std::memcpy(out, reader->bytes->data() + reader->position, count);
  reader->position += count;
  return int(count);
}

int WriteToMemory(GifFileType* gif, const GifByteType* data, int size) {
  static_cast<std::vector<uint8_t>*>(gif->UserData)->insert(static_cast<std::vector<uint8_t>*>(gif->UserData)->end(),
                                                             data, data + size);
  return size;
}

}  // namespace

bool GiflibDecode(const std::vector<uint8_t>& file, PeerPicture& picture) {
  MemoryReader reader{&file, 0};
  int error = 0;
  GifFileType* gif = DGifOpen(&reader, ReadFromMemory, &error);
  if (!gif) return false;
  picture.transparentIndex = -1;
  bool ok = false;
  GifRecordType record;
  while (DGifGetRecordType(gif, &record) == GIF_OK && record != TERMINATE_RECORD_TYPE) {
    if (record == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif, &code, &block) != GIF_OK) break;
      if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
        picture.transparentIndex = block[1] & 1 ? block[4] : -1;
      }
      while (block && DGifGetExtensionNext(gif, &block) == GIF_OK) {
      }
      continue;
    }
    if (record != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif) != GIF_OK) break;
    const ColorMapObject* map = gif->Image.ColorMap ? gif->Image.ColorMap : gif->SColorMap;
    picture.width = gif->Image.Width;
    picture.height = gif->Image.Height;
    picture.interlace = gif->Image.Interlace;
    picture.localColorMap = gif->Image.ColorMap != nullptr;
    picture.colors.clear();
    if (map) {
      picture.bitsPerPixel = map->BitsPerPixel;
      for (int i = 0; i < map->ColorCount; ++i) {
        picture.colors.insert(picture.colors.end(), {map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue});
      }
    }
    picture.fileOrderIndexes.assign(size_t(picture.width) * picture.height, 0);
    picture.indexes = picture.fileOrderIndexes;
    const std::vector<int> order = GifRowOrder(picture.height, picture.interlace);
    ok = true;
    for (size_t i = 0; i < order.size() && ok; ++i) {
      uint8_t* line = &picture.fileOrderIndexes[i * picture.width];
      ok = DGifGetLine(gif, line, picture.width) == GIF_OK;
      std::memcpy(&picture.indexes[size_t(order[i]) * picture.width], line, size_t(picture.width));
    }
    break;
  }
  DGifCloseFile(gif, &error);
  return ok;
}

std::vector<uint8_t> GiflibEncode(const PeerPicture& picture) {
  std::vector<uint8_t> out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, WriteToMemory, &error);
  if (!gif) return {};
  EGifSetGifVersion(gif, picture.gif89);
  const int entries = 1 << picture.bitsPerPixel;
  std::vector<GifColorType> colors(size_t(entries), GifColorType{0, 0, 0});
  for (size_t i = 0; i < colors.size() && 3 * i + 2 < picture.colors.size(); ++i) {
    colors[i] = {picture.colors[3 * i], picture.colors[3 * i + 1], picture.colors[3 * i + 2]};
  }
  ColorMapObject* map = GifMakeMapObject(entries, colors.data());
  bool ok = EGifPutScreenDesc(gif, picture.width, picture.height, picture.bitsPerPixel, 0,
                              picture.localColorMap ? nullptr : map) == GIF_OK;
  if (ok && picture.transparentIndex >= 0) {
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, picture.transparentIndex};
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK;
  }
  ok = ok && EGifPutImageDesc(gif, 0, 0, picture.width, picture.height, picture.interlace,
                              picture.localColorMap ? map : nullptr) == GIF_OK;
  for (int r : GifRowOrder(picture.height, picture.interlace)) {
    if (!ok) break;
    ok = EGifPutLine(gif, const_cast<GifPixelType*>(&picture.indexes[size_t(r) * picture.width]), picture.width) ==
         GIF_OK;
  }
  ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
  GifFreeMapObject(map);
  return ok ? out : std::vector<uint8_t>{};
}
#endif

std::vector<uint8_t> GifImageData(const std::vector<uint8_t>& file) {
  size_t p = 13;
  if (file.size() < p) return {};
  if (file[10] & 0x80) p += 3u << ((file[10] & 7) + 1);
  while (p < file.size() && file[p] == 0x21) {
    p += 2;
    while (p < file.size() && file[p] != 0) p += file[p] + 1u;
    ++p;
  }
  if (p + 10 > file.size() || file[p] != 0x2C) return {};
  const uint8_t packed = file[p + 9];
  p += 10;
  if (packed & 0x80) p += 3u << ((packed & 7) + 1);
  const size_t start = p++;
  while (p < file.size() && file[p] != 0) p += file[p] + 1u;
  if (p >= file.size()) return {};
  return std::vector<uint8_t>(file.begin() + long(start), file.begin() + long(p) + 1);
}
