#include "app/accelerators.h"

#include <string_view>

#include "app/menu_model.h"

namespace sorvane {
namespace {

void RemoveAll(Text& text, TextView what) {
  for (size_t at = text.find(what); at != Text::npos; at = text.find(what, at)) text.erase(at, what.size());
}

bool Contains(TextView text, TextView what) { return text.find(what) != TextView::npos; }

// "F" and a number from 1 to 24, nothing else.
std::optional<uint16_t> FunctionKey(TextView key) {
  if (key.size() < 2 || key.size() > 3 || key[0] != u'F') return std::nullopt;
  int n = 0;
  for (char16_t c : key.substr(1)) {
    if (c < u'0' || c > u'9') return std::nullopt;
    n = n * 10 + (c - u'0');
  }
  if (n < 1 || n > vk::kMaxFunctionKey) return std::nullopt;
  return static_cast<uint16_t>(vk::kF1 + n - 1);
}

std::optional<uint16_t> KeypadKey(TextView key) {
  const size_t at = key.find(u"Num");
  if (at == TextView::npos || at + 3 >= key.size()) return std::nullopt;
  const char16_t c = key[at + 3];
  if (c >= u'0' && c <= u'9') return static_cast<uint16_t>(vk::kNumpad0 + (c - u'0'));
  switch (c) {
    case u'*': return vk::kMultiply;
    case u'+': return vk::kAdd;
    case u'-': return vk::kSubtract;
    case u'/': return vk::kDivide;
    default: return std::nullopt;
  }
}

std::optional<uint16_t> KeyCode(TextView key) {
  if (key.size() == 1) {
    const char16_t c = key[0];
    // A virtual-key code is the upper-case letter: 'p' (0x70) would be F1.
    if (c >= u'a' && c <= u'z') return static_cast<uint16_t>(c - u'a' + u'A');
    if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')) return static_cast<uint16_t>(c);
    // Any other character's code names an unrelated key ('.' is Delete).
    return std::nullopt;
  }
  if (auto f = FunctionKey(key)) return f;
  if (Contains(key, u"Del")) return vk::kDelete;
  // Before "Space", so that "Backspace" is the back key.
  if (Contains(key, u"Back")) return vk::kBack;
  if (Contains(key, u"Space")) return vk::kSpace;
  if (Contains(key, u"Enter")) return vk::kReturn;
  if (Contains(key, u"Tab")) return vk::kTab;
  return KeypadKey(key);
}

}  // namespace

Text ItemTextParts::Join() const {
  Text text = label;
  if (hasShortcut) text += u'\t' + shortcut;
  if (hasSymbol) text += u'\t' + symbol;
  return text;
}

ItemTextParts SplitItemText(TextView text) {
  ItemTextParts parts;
  const size_t first = text.find(u'\t');
  if (first == TextView::npos) {
    parts.label = Text(text);
    return parts;
  }
  parts.label = Text(text.substr(0, first));
  parts.hasShortcut = true;
  const TextView rest = text.substr(first + 1);
  const size_t second = rest.find(u'\t');
  if (second == TextView::npos) {
    parts.shortcut = Text(rest);
    return parts;
  }
  parts.shortcut = Text(rest.substr(0, second));
  parts.symbol = Text(rest.substr(second + 1));
  parts.hasSymbol = true;
  return parts;
}

std::optional<ShortcutKey> ParseShortcut(TextView shortcut) {
  Text key(shortcut);
  RemoveAll(key, u" ");
  if (Contains(key, u"null")) return std::nullopt;
  ShortcutKey result;
  result.flags = kAccelVirtKey;
  struct Modifier {
    TextView text;
    uint8_t flag;
  };
  for (const Modifier& m : {Modifier{u"Ctrl+", kAccelControl}, Modifier{u"Shift+", kAccelShift},
                            Modifier{u"Alt+", kAccelAlt}}) {
    if (Contains(key, m.text)) {
      result.flags |= m.flag;
      RemoveAll(key, m.text);
    }
  }
  const auto code = KeyCode(key);
  if (!code) return std::nullopt;
  result.key = *code;
  return result;
}

std::optional<Accelerator> AcceleratorForItem(TextView itemText, int command) {
  const ItemTextParts parts = SplitItemText(itemText);
  if (!parts.hasShortcut) return std::nullopt;
  const auto key = ParseShortcut(parts.shortcut);
  if (!key) return std::nullopt;
  return Accelerator{key->flags, key->key, command};
}

namespace {

void Collect(const MenuItem& menu, std::vector<Accelerator>& out) {
  for (const MenuItem& item : menu.children) {
    if (item.separator) continue;
    if (item.popup) {
      Collect(item, out);
      continue;
    }
    if (auto accel = AcceleratorForItem(item.text, item.id)) out.push_back(*accel);
  }
}

}  // namespace

std::vector<Accelerator> DeriveAccelerators(const MenuItem& menu) {
  std::vector<Accelerator> out;
  Collect(menu, out);
  return out;
}

}  // namespace sorvane
