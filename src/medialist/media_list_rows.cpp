#include "medialist/media_list_rows.h"

namespace sorvane {

Text MediaListRows::GetText(int row, int column) const {
  if (!list_.IsRow(row) || column < 0 || column >= kColumnCount) return {};
  return list_.Cell(row, column);
}

void MediaListRows::SetText(int row, int column, TextView text) {
  if (!list_.IsRow(row)) return;
  list_.SetEntryText(row, column, Text(text));
  Changed(row);
}

void MediaListRows::SetItemImage(int row, int image) {
  if (!list_.IsRow(row)) return;
  list_.SetImages(row, image, list_.Entry(row).subImage);
  Changed(row);
}

void MediaListRows::SetColumnImage(int row, int column, int image) {
  // Only the duration column carries an image of its own.
  if (!list_.IsRow(row) || column != kColumnDuration) return;
  list_.SetImages(row, list_.Entry(row).image, image);
  Changed(row);
}

void MediaListRows::SelectAndFocus(int row) {
  if (!list_.IsRow(row)) return;
  if (hooks_.selectAndFocus) {
    hooks_.selectAndFocus(row);
    return;
  }
  list_.SetAllSelected(false);
  list_.SetSelected(row, true);
  list_.SetFocus(row);
}

ProbeJob MakeProbeJob(const MediaList& list, ProbeTexts texts) {
  ProbeJob job;
  job.texts = std::move(texts);
  job.paths.reserve(static_cast<size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i) job.paths.push_back(list.Cell(i, kColumnPath));
  return job;
}

bool BackendEntryProber::Probe(const Text& path, ProbedFile& out) {
  MediaProbe probe = MediaProbe::Open(backend_, path);
  out = ProbedFile{};
  out.isMedia = probe.IsMedia();
  if (!out.isMedia) return false;
  out.isVideo = probe.IsVideo();
  out.title = probe.Title();
  out.duration = probe.DurationText();
  return true;
}

}  // namespace sorvane
