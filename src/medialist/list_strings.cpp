#include "medialist/list_strings.h"

namespace sorvane {
namespace {

LangLookup& Installed() {
  static LangLookup lookup;
  return lookup;
}

}  // namespace

Text EnglishListString(int id) {
  switch (id) {
    case 31: return u"New playlist";
    case 40: return u"Move Top";
    case 41: return u"Move Up";
    case 42: return u"Move Down";
    case 43: return u"Move Bottom";
    case 44: return u"Remove";
    case 45: return u"Show in Explorer";
    case 46: return u"Export Playlist";
    case 47: return u"Import Playlist";
    case 48: return u"Select All";
    case 49: return u"Invert Selection";
    case 50: return u"Title";
    case 51: return u"Path";
    case 52: return u"Duration";
    case 53: return u"File Name";
    case 140: return u"Question";
    case 141: return u"Should the titles be transferred to the new playlist?";
    case 142: return u"All titles in the current playlist will be removed.";
    case 146: return u"Remove";
    case 147: return u"Add New Playlist";
    case 149: return u"Warning";
    default: return {};
  }
}

Text ListStringOr(int id, const Text& english) {
  if (Installed()) {
    if (std::optional<Text> t = Installed()(id)) return std::move(*t);
  }
  return english;
}

Text ListString(int id) { return ListStringOr(id, EnglishListString(id)); }

void InstallListStrings(LangLookup lookup) { Installed() = std::move(lookup); }

}  // namespace sorvane
