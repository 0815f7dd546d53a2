#include "medialist/open_file_selection.h"

namespace sorvane {

Text OpenFileFilter(const std::function<Text(int id)>& text) {
  const Text t132 = text(132), t133 = text(133), t134 = text(134), t135 = text(135);
  Text filter = Format(
      u"%s (*.mp3;*.wav;*.mp4;*.avi;*.mkv;*.flv;*.mov)\n*.mp3;*.wav;*.mp4;*.avi;*.mkv;*.flv;*.mov\n"
      u"%s (*.mp3;*.wav;*.flac;*.ogg)\n*.mp3;*.wav;*.flac;*.ogg\n"
      u"%s (*.mp4;*.avi;*.mkv;*.mov;*.flv)\n*.mp4;*.avi;*.mkv;*.mov;*.flv\n"
      u"%s (*.*)\n*.*\n\n",
      {TextView(t132), TextView(t133), TextView(t134), TextView(t135)});
  for (char16_t& c : filter)
    if (c == u'\n') c = u'\0';
  return filter;
}

namespace {

// The string starting at pos, up to its NUL or the buffer's end; pos moves past it.
TextView NextString(TextView buffer, size_t& pos) {
  if (pos >= buffer.size()) return {};
  size_t end = buffer.find(u'\0', pos);
  if (end == TextView::npos) end = buffer.size();
  TextView s = buffer.substr(pos, end - pos);
  pos = end + 1;
  return s;
}

}  // namespace

std::vector<Text> ParseOpenFileSelection(TextView buffer) {
  std::vector<Text> paths;
  size_t pos = 0;
  const TextView first = NextString(buffer, pos);
  if (first.empty()) return paths;
  TextView name = NextString(buffer, pos);
  if (name.empty()) {
    paths.emplace_back(first);
    return paths;
  }
  // The folder of a drive root already ends with a backslash.
  Text folder(first);
  if (folder.back() != u'\\') folder += u'\\';
  while (!name.empty()) {
    paths.push_back(folder + Text(name));
    name = NextString(buffer, pos);
  }
  return paths;
}

}  // namespace sorvane
