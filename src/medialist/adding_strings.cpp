#include "medialist/adding_strings.h"

#include "medialist/list_strings.h"

namespace sorvane {

Text EnglishAddingString(int id) {
  switch (id) {
    case 132: return u"Audio/Video";
    case 133: return u"Audio";
    case 134: return u"Video";
    case 135: return u"All Files";
    case 140: return u"Question";
    case 143: return u"Should a new playlist be created?";
    case 144: return u"Should duplicate files be skipped?";
    case 170: return u"Processing files...";
    case 171: return u"Scanning files...";
    case 172: return u"Processing media...";
    case 173: return u"Loading tracks...";
    case 174: return u"Adding to playlist...";
    case 175: return u"Organizing library...";
    case 176: return u"Almost done...";
    case 180: return u"From command line";
    default: return {};
  }
}

Text AddingString(int id) { return ListStringOr(id, EnglishAddingString(id)); }

}  // namespace sorvane
