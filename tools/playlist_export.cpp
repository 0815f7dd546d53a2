// Writes a playlist through the program's own export code, for checking the
// files with other readers: playlist_export OUT.m3u|OUT.wpl PATH...
// The format follows the output name as Export chooses it.
#include <cstdio>
#include <fstream>

#include "framework/text.h"
#include "medialist/playlist_writer.h"

int main(int argc, char** argv) {
  using namespace sorvane;
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUT.m3u|OUT.wpl PATH...\n", argv[0]);
    return 2;
  }
  const Text out = FromUtf8(argv[1]);
  CPlayList2026 list;
  for (int i = 2; i < argc; ++i) list.Add(FromUtf8(argv[i]));
  const std::string bytes = PlaylistFileBytes(list.ToText(ExportFormatForPath(out)), false);
  std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
